#include "app/settings/app_settings.h"

namespace fw {

AppSettings DefaultSettings() {
    AppSettings s;
    s.reportRecipient = FW_REPORT_RECIPIENT;
    s.korvanUrl = FW_KORVAN_URL;
    s.velmarUrl = FW_VELMAR_URL;
    return s;
}

}  // namespace fw
