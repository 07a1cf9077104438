#pragma once
// Opening an SDR without letting its driver hold a stop.
#include <memory>
#include <stop_token>

#include "sdr/sdr_session.h"

namespace fw::sdr {

inline constexpr const char* StoppedWhileOpeningText = "stopped while the SDR was being opened";

// Opens the device as SdrSession does, on a thread of the process's registry: a driver that
// hangs while it opens a device does not hold `stop`. A stop ends the wait at once with
// receiver::Cancelled; the abandoned opening ends on its own and closes what it opened. Throws
// SdrError as SdrSession.
std::unique_ptr<SdrSession> OpenSdrSession(const SdrSettings& settings, std::stop_token stop);

}  // namespace fw::sdr
