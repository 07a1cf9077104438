#pragma once
// The receiver set-up that took a reading, as the log keeps it: what a comparison of two
// spans must hold equal, or else it compares receivers as much as noise.
#include <compare>
#include <optional>
#include <set>
#include <string>

#include "stationlog/log_reading.h"

namespace fw {

struct ReceiverSetup {
    ReadingSource source = ReadingSource::Rig;
    std::string rig;
    double gainDbi = 0;
    std::optional<double> refLevelDbm;
    std::optional<double> calOffsetDb;

    auto operator<=>(const ReceiverSetup&) const = default;
};

using ReceiverSetups = std::set<ReceiverSetup>;

ReceiverSetup ReceiverOf(const LogReading& reading);

// "IC-7300 (rig), 2.15 dBi, calibration +1.5 dB"; an SDR adds "reference level -10 dBm";
// a calibration the log does not know reads "calibration unknown".
std::string ReceiverSetupText(const ReceiverSetup& setup);
// The set-ups joined by "; ", "none" for an empty set.
std::string ReceiverSetupsText(const ReceiverSetups& setups);

}  // namespace fw
