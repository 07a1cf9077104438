#pragma once
// The reading-plan options that `rig read`, `rig sweep` and `monitor` share.
#include <string>

#include "cli/cli_args.h"
#include "rig/sweep.h"

namespace fw::cli {

// --samples N (or its older name --readings), --settle MS, --gain G, --bandwidth HZ and
// --calibration B=DB;... into a plan with all bands as targets. Every value is checked
// against the plan limits; a refused one is a Refusal naming the value and the range.
rig::SweepPlan TakeReadingPlanOptions(ArgList& args, char sep);

// The options' help lines, with their limits.
std::string ReadingPlanOptionsHelp();

}  // namespace fw::cli
