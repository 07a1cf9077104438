#include "cli/reading_plan_options.h"

#include <limits>

#include "libs/startup_values.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"

namespace fw::cli {

namespace {

// A whole number; its limits are the plan's, checked with the others.
int WholeNumber(const std::string& name, const std::string& text) {
    return ParseIntOption(name, text, std::numeric_limits<int>::min(),
                          std::numeric_limits<int>::max());
}

}  // namespace

rig::SweepPlan TakeReadingPlanOptions(ArgList& args, char sep) {
    rig::SweepPlan plan;
    const auto samples = args.takeOption("--samples");
    const auto readings = args.takeOption("--readings");  // the older name
    if (samples && readings) throw UsageError("give either --samples or --readings, not both");
    const auto settle = args.takeOption("--settle");
    const auto calibration = args.takeOption("--calibration");
    plan.reading.gain = args.takeNumberOption("--gain", sep).value_or("");
    plan.reading.bandwidth =
        args.takeOption("--bandwidth").value_or(std::string(StartBandwidthText));
    if (samples) plan.reading.samples = WholeNumber("--samples", *samples);
    if (readings) plan.reading.samples = WholeNumber("--readings", *readings);
    if (settle) plan.settle = std::chrono::milliseconds(WholeNumber("--settle", *settle));
    try {
        if (calibration) plan.reading.offsets = rig::ParseCalibrationOffsets(*calibration, sep);
        rig::CheckSweepPlan(plan, sep);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(e.what());
    }
    return plan;
}

std::string ReadingPlanOptionsHelp() {
    const auto range = [](const auto& limit) {
        return std::to_string(limit.low) + " to " + std::to_string(limit.high);
    };
    const auto dB = [](const rig::Limit<double>& limit) {
        return std::to_string(static_cast<int>(limit.low)) + " to " +
               std::to_string(static_cast<int>(limit.high));
    };
    return "  --samples N          S-meter samples per reading, " + range(rig::SampleLimits) +
           " (default 5, 200 ms\n"
           "                       apart); a reading is their median. --readings N is the same\n"
           "  --settle MS          wait after tuning, " +
           range(rig::SettleMsLimits) +
           " ms (default 300)\n"
           "  --gain G             antenna gain in dBi, " +
           dB(rig::GainDbLimits) +
           " (default 2,15 with the\n"
           "                       regional separator)\n"
           "  --bandwidth HZ       receiver bandwidth, a whole number of Hz from " +
           std::to_string(rig::BandwidthHzLimits.low) +
           " (default 2700)\n"
           "  --calibration B=DB;...\n"
           "                       each band's offset in dB, " +
           dB(rig::CalibrationDbLimits) +
", added to its readings\n"
           "                       (a free frequency takes the nearest band's)\n";
}

}  // namespace fw::cli
