#pragma once
// The noise's signature as the station log keeps it beside an SDR reading.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "stationlog/log_reading.h"

namespace fw {

struct LogSignature {
    double vdDb = 0;
    std::optional<double> burstRateHz;
    std::optional<double> combSpacingKHz;
    int combLines = 0;
    std::string cls;  // "gaussian", "impulsive", "comb", "impulsive+comb"
    std::array<double, 5> apdPercent{};  // time above N0 + 0, 5, 10, 15, 20 dB

    bool operator==(const LogSignature&) const = default;
};

struct LoggedSignature {
    UtcSeconds utc = 0;
    std::string band;
    LogSignature signature;
};

}  // namespace fw
