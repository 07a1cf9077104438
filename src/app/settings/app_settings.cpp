#include "app/settings/app_settings.h"

namespace fw {

AppSettings DefaultSettings() {
    AppSettings s;
    s.reportRecipient = FW_REPORT_RECIPIENT;
    s.korvanUrl = FW_KORVAN_URL;
    s.velmarUrl = FW_VELMAR_URL;
    return s;
}

std::string SdrNotSetUp(const SdrPreferences& sdr) {
    if (!sdr.device.args.empty() && sdr.refSet) return {};
    return "The SDR has no device or no reference level yet: set them in Rig Settings….";
}

}  // namespace fw
