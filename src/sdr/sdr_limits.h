#pragma once
// The limits of an SDR's settings, in one place: floorwatch-cli's options and the window's
// Rig Settings check against them before the device is touched.
#include "noisefloor/noise_floor.h"
#include "measure/entry_limits.h"

namespace fw::sdr {

// A sample rate the user sets, in Hz (none set: the device's rate closest to the default).
inline constexpr fw::Limit<double> SdrRateHzLimits{10000, NoiseFloorEstimator::MaxSampleRateHz};
// The reference level: the antenna power in dBm that reads 0 dBFS. Wide: a power that no
// receiver sees is refused by the entry's level check; this keeps the sum a number.
inline constexpr fw::Limit<double> RefDbmLimits{-1000, 1000};
// Samples captured per reading, in seconds.
inline constexpr fw::Limit<double> CaptureSecondsLimits{0.1, 60};

}  // namespace fw::sdr
