#include "app/app_settings.h"

namespace fw {

AppSettings DefaultSettings() {
    AppSettings s;
    s.reportRecipient = FW_REPORT_RECIPIENT;
    s.korvanUrl = FW_KORVAN_URL;
    s.velmarUrl = FW_VELMAR_URL;
    return s;
}

rig::SweepPlan SweepPlanOf(const RigSettings& rig, const std::string& bandwidthText) {
    rig::SweepPlan plan;
    plan.modes = rig.modes;
    plan.settle = std::chrono::milliseconds(rig.settleMs);
    plan.reading.samples = rig.readings;
    plan.reading.offsets = rig.offsets;
    plan.reading.bandwidth = bandwidthText;
    return plan;
}

}  // namespace fw
