#include "rig/rig_plan.h"

namespace fw {

rig::SweepPlan SweepPlanOf(const RigSettings& rig, const std::string& bandwidthText) {
    rig::SweepPlan plan;
    plan.modes = rig.modes;
    plan.settle = std::chrono::milliseconds(rig.settleMs);
    plan.reading.samples = rig.samples;
    plan.reading.offsets = rig.offsets;
    plan.reading.bandwidth = bandwidthText;
    return plan;
}

}  // namespace fw
