#pragma once
// The limits of a typed or read measurement, in one place: the entry, floorwatch-cli, the rig
// and the SDR readings and the guides' test read them.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace fw {

template <class T>
struct Limit {
    T low;
    T high;
    bool holds(T value) const { return value >= low && value <= high; }
};

// Antenna gain in dBi.
inline constexpr Limit<double> GainDbLimits{-60, 60};
// The bandwidth box's whole numbers of Hz, less those a receiver cannot have.
inline constexpr Limit<std::int32_t> BandwidthHzLimits{1, std::numeric_limits<std::int32_t>::max()};
// The diagram's frequency axis, in MHz: a free frequency typed or tuned to.
inline constexpr Limit<double> FrequencyMHzLimits{0.01, 300};

// A number as the user would type it (a voltage, a frequency): the shortest text that reads
// back as the same double, whole numbers in plain digits, with the given decimal separator.
std::string ExactNumberText(double value, char sep);

// "the gain must lie between -60 and 60 dBi, not 5000": `what`, the limits written with the
// decimal separator `sep` and the unit (may be empty), and the value as it was given.
std::string OutOfRangeText(std::string_view what, double low, double high, std::string_view unit,
                           std::string_view given, char sep);

}  // namespace fw
