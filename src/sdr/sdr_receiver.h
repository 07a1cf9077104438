#pragma once
// An SDR as a receiver (receiver/receiver.h): the device opened through OpenSdrSession, and
// one noise measurement per reading, captured where it is tuned. Nothing is restored: an SDR
// has no tuning of the user's own.
#include <memory>
#include <stop_token>
#include <string>

#include "receiver/receiver.h"
#include "rig/reading.h"
#include "sdr/sdr_session.h"

namespace fw::sdr {

// Tunes to the target, captures settings.seconds and builds its "AntPwr" reading. Throws
// SdrError, RefusedReading, receiver::Cancelled, rig::ReadingInputError.
receiver::Reading ReadNoise(SdrSession& session, const receiver::ResolvedTarget& where,
                            const SdrSettings& settings, const rig::ReadingPlan& plan,
                            std::stop_token stop, char sep);

class SdrReceiver final : public receiver::Receiver {
  public:
    // `settings` open the device and give the capture time and the reference level; `plan`
    // gives the gain, the bandwidth and the calibration offsets.
    SdrReceiver(SdrSettings settings, rig::ReadingPlan plan, char sep);
    ~SdrReceiver() override;

    // Throws SdrError, and receiver::Cancelled when `stop` ends the wait for a driver.
    void open(std::stop_token stop) override;
    void begin(std::stop_token) override {}
    // The capture of read() tunes and lets the device settle.
    void tune(const receiver::ResolvedTarget&, std::stop_token) override {}
    receiver::Reading read(const receiver::ResolvedTarget& where, std::stop_token stop) override;
    std::string restore() override { return {}; }
    void close() noexcept override;
    // The device's label once it has been opened, its arguments before.
    std::string name() const override;

  private:
    SdrSettings settings_;
    rig::ReadingPlan plan_;
    char sep_;
    std::string label_;
    std::unique_ptr<SdrSession> session_;
};

}  // namespace fw::sdr
