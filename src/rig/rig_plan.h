#pragma once
// The rig settings the user keeps (connection, samples per reading, settle time, mode rule,
// calibration offsets) and the sweep plan they give.
#include <string>

#include "rig/mode_rule.h"
#include "rig/reading.h"
#include "rig/rig_settings.h"
#include "rig/sweep.h"

namespace fw {

struct RigSettings {
    rig::RigConnection connection;  // rigctld at localhost:4532 until the user chooses
    int samples = 5;                // STRENGTH samples per reading, 200 ms apart
    int settleMs = 300;             // wait after tuning before the first sample
    rig::ModeRule modes;
    rig::CalibrationOffsets offsets;  // dB per band text
};

// The rig settings as a sweep plan (no targets, no gain) for levels of `bandwidthText`.
rig::SweepPlan SweepPlanOf(const RigSettings& rig, const std::string& bandwidthText);

}  // namespace fw
