#pragma once
// The limits of a reading plan, in one place: the window's fields, floorwatch-cli and the
// guides' test read them, and every value is checked against them before the rig is touched.
#include <cstdint>
#include <string>
#include <string_view>

#include "measure/entry_limits.h"

namespace fw::rig {

struct SweepPlan;

using fw::BandwidthHzLimits;
using fw::FrequencyMHzLimits;
using fw::GainDbLimits;
using fw::Limit;
using fw::OutOfRangeText;

// S-meter samples a reading is the median of.
inline constexpr Limit<int> SampleLimits{1, 100};
// Wait after tuning, before the first sample, in ms.
inline constexpr Limit<int> SettleMsLimits{0, 60000};
// A band's calibration offset in dB.
inline constexpr Limit<double> CalibrationDbLimits{-60, 60};

// Throws ReadingInputError with OutOfRangeText when `value` lies outside `limit`.
void CheckWithin(const Limit<double>& limit, double value, std::string_view what,
                 std::string_view unit, std::string_view given, char sep);
void CheckWithin(const Limit<int>& limit, int value, std::string_view what, std::string_view unit,
                 char sep);

// The bandwidth text read as the bandwidth box reads it and held within BandwidthHzLimits;
// throws ReadingInputError for a text that is no whole number or lies outside them.
std::int32_t CheckedBandwidthHz(std::string_view text, char sep);

// The gain text, where it is a number, held within GainDbLimits; throws ReadingInputError.
// A text that is no number is left to the entry's own warning.
void CheckGainText(std::string_view text, char sep);

// Checks the samples, the settle time, every calibration offset and every target with the
// plan's gain and bandwidth (see ResolveTarget); throws ReadingInputError for the first
// value refused. Does not touch the rig.
void CheckSweepPlan(const SweepPlan& plan, char sep);

}  // namespace fw::rig
