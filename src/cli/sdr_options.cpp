#include "cli/sdr_options.h"

#include "libs/atomic_file.h"
#include "libs/real_text.h"
#include "cli/reading_plan_options.h"

namespace fw::cli {

double ParseRealOption(const std::string& name, const std::string& text, char sep) {
    const auto value = ParseRealText(text, sep);
    if (!value) throw Refusal(name + " must be a number, not \"" + text + "\"");
    return *value;
}

rig::ReadingPlan TakeNoisePlan(ArgList& args, char sep) {
    for (const char* meterOnly : {"--samples", "--readings", "--settle"}) {
        if (args.takeOption(meterOnly))
            throw UsageError(std::string(meterOnly) + " is for the S-meter, not for a noise measurement");
    }
    return TakeReadingPlanOptions(args, sep).reading;
}

void SaveSpectrumCsv(const std::string& path, const std::string& csv) {
    const std::string error = WriteFileAtomically(path, csv);
    if (!error.empty()) throw Refusal("The spectrum could not be saved as " + path + ": " + error);
}

}  // namespace fw::cli
