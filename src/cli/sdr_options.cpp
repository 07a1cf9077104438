#include "cli/sdr_options.h"

#include "libs/atomic_file.h"
#include "libs/real_text.h"
#include "libs/startup_values.h"

namespace fw::cli {

double ParseRealOption(const std::string& name, const std::string& text, char sep) {
    const auto value = ParseRealText(text, sep);
    if (!value) throw Refusal(name + " must be a number, not \"" + text + "\"");
    return *value;
}

rig::ReadingPlan TakeNoisePlan(ArgList& args, char sep) {
    rig::ReadingPlan plan;
    if (auto cal = args.takeOption("--calibration")) plan.offsets = rig::ParseCalibrationOffsets(*cal, sep);
    plan.gain = args.takeOption("--gain").value_or("");
    plan.bandwidth = args.takeOption("--bandwidth").value_or(std::string(StartBandwidthText));
    return plan;
}

void SaveSpectrumCsv(const std::string& path, const std::string& csv) {
    const std::string error = WriteFileAtomically(path, csv);
    if (!error.empty()) throw Refusal("The spectrum could not be saved as " + path + ": " + error);
}

}  // namespace fw::cli
