#pragma once
// Where a receiver reads: a band of the band table or a free frequency, as the user gave it,
// and the same checked against the entry path before the device is touched.
#include <string>
#include <utility>

namespace fw::receiver {

struct Target {
    std::string band;          // empty for a free frequency
    std::string frequencyMHz;  // a free frequency as typed, with the regional separator

    static Target Band(std::string band) { return {std::move(band), {}}; }
    static Target Free(std::string mhz) { return {{}, std::move(mhz)}; }
    friend bool operator==(const Target&, const Target&) = default;
};

// A target checked as an entry of it would be (rig::ResolveTarget).
struct ResolvedTarget {
    Target target;
    double frequencyMHz;
    std::string label;       // "20m", or "7,1 MHz" for a free frequency
    std::string offsetBand;  // the band whose calibration offset applies
};

}  // namespace fw::receiver
