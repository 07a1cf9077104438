#pragma once
// The options of the SDR noise measurements (sdr, iq noise, monitor with an SDR).
#include <optional>
#include <string>

#include "cli/cli_args.h"
#include "rig/reading.h"

namespace fw::cli {

// A level or frequency option read with the regional decimal separator; a Refusal naming
// the option when it is not a number.
double ParseRealOption(const std::string& name, const std::string& text, char sep);

// --gain, --bandwidth and --calibration of a noise reading, checked as for the rig; the
// S-meter's --samples and --settle are a UsageError.
rig::ReadingPlan TakeNoisePlan(ArgList& args, char sep);

// Writes the used bins as CSV to `path` through the atomic writer; throws Refusal.
void SaveSpectrumCsv(const std::string& path, const std::string& csv);

}  // namespace fw::cli
