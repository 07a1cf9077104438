#include "rig/plan_limits.h"

#include "libs/int_text.h"
#include "libs/real_text.h"
#include "libs/startup_values.h"
#include "rig/reading.h"
#include "rig/rig_error.h"
#include "rig/sweep.h"

namespace fw::rig {

void CheckWithin(const Limit<double>& limit, double value, std::string_view what,
                 std::string_view unit, std::string_view given, char sep) {
    if (!limit.holds(value))
        throw ReadingInputError(OutOfRangeText(what, limit.low, limit.high, unit, given, sep));
}

void CheckWithin(const Limit<int>& limit, int value, std::string_view what, std::string_view unit,
                 char sep) {
    if (!limit.holds(value))
        throw ReadingInputError(
            OutOfRangeText(what, limit.low, limit.high, unit, std::to_string(value), sep));
}

std::int32_t CheckedBandwidthHz(std::string_view text, char sep) {
    const std::optional<std::int32_t> hz = ParseIntText(text);
    if (!hz) throw ReadingInputError(std::string(BandwidthRefusedText));
    if (!BandwidthHzLimits.holds(*hz))
        throw ReadingInputError(OutOfRangeText("the bandwidth", BandwidthHzLimits.low,
                                               BandwidthHzLimits.high, "Hz", text, sep));
    return *hz;
}

void CheckGainText(std::string_view text, char sep) {
    if (const std::optional<double> gain = ParseRealText(text, sep))
        CheckWithin(GainDbLimits, *gain, "the gain", "dBi", text, sep);
}

void CheckSweepPlan(const SweepPlan& plan, char sep) {
    CheckWithin(SampleLimits, plan.reading.samples, "the samples per reading", "", sep);
    CheckWithin(SettleMsLimits, static_cast<int>(plan.settle.count()), "the settle time", "ms",
                sep);
    CheckCalibrationOffsets(plan.reading.offsets, sep);
    for (const receiver::Target& t : plan.targets) ResolveTarget(t, plan.reading, sep);
}

}  // namespace fw::rig
