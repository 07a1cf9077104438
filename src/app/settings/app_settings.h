#pragma once
// The program's settings as plain data: the report's recipient, the two associations' web
// pages, the rig connection and its readings, and the station log. Stored in the user's
// settings file (see settings_store.h); the distributor's defaults come from the build.
#include <string>

#include "rig/rig_plan.h"
#include "stationlog/station_log_tasks.h"

namespace fw {

// The "Monitor…" window's last choices (the monitor's own run settings are
// fw::MonitorSettings in monitor/monitor.h).
struct MonitorPreferences {
    std::string bands;  // "80m,40m"; empty: all bands
    int everySeconds = 600;
    int forMinutes = 0;  // 0: until stopped
};

struct AppSettings {
    std::string reportRecipient;  // empty: the mail program asks the user
    std::string korvanUrl;        // empty: the link says that no address is set
    std::string velmarUrl;
    RigSettings rig;
    StationLogSettings log;
    MonitorPreferences monitor;
};

// The distributor's defaults, set at build time (CMake cache variables FW_REPORT_RECIPIENT,
// FW_KORVAN_URL, FW_VELMAR_URL); every other value as declared above.
AppSettings DefaultSettings();

}  // namespace fw
