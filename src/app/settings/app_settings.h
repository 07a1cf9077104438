#pragma once
// The program's settings as plain data: the report's recipient, the two associations' web
// pages, the rig connection and its readings, and the station log. Stored in the user's
// settings file (see settings_store.h); the distributor's defaults come from the build.
#include <string>

#include "rig/rig_plan.h"
#include "sdr/sdr_session.h"
#include "stationlog/station_log_tasks.h"

namespace fw {

// The "Monitor…" window's last choices (the monitor's own run settings are
// fw::MonitorSettings in monitor/monitor.h).
struct MonitorPreferences {
    std::string bands;  // "80m,40m"; empty: all bands
    int everySeconds = 600;
    int forMinutes = 0;  // 0: until stopped
};

// Where "Read S-Meter", "Sweep Bands…" and "Monitor…" take their readings: the Hamlib rig, or
// the noise floor measured with an SDR ("Measure Noise").
enum class ReceiverKind { Rig, Sdr };

// The SDR of "Rig Settings…". It measures only once its reference level was entered.
struct SdrPreferences {
    ReceiverKind source = ReceiverKind::Rig;
    sdr::SdrSettings device;
    bool refSet = false;
    bool chosen() const { return source == ReceiverKind::Sdr; }
};

// Why the SDR cannot measure yet (no device or no reference level); empty when it can.
std::string SdrNotSetUp(const SdrPreferences& sdr);

// What "Rig Settings…" edits: the rig, the SDR and which of them is used. The rig's
// calibration offsets apply to both.
struct ReceiverSettings {
    RigSettings rig;
    SdrPreferences sdr;
};

// "Network…": the network's server (a libpq connection string without password) and this
// station's callsign; the monitor uploads after every sweep where asked to.
struct NetworkPreferences {
    std::string server;
    std::string station;
    bool uploadAfterSweep = false;
};

struct AppSettings {
    std::string reportRecipient;  // empty: the mail program asks the user
    std::string korvanUrl;        // empty: the link says that no address is set
    std::string velmarUrl;
    RigSettings rig;
    SdrPreferences sdr;
    StationLogSettings log;
    MonitorPreferences monitor;
    NetworkPreferences network;
};

// The distributor's defaults, set at build time (CMake cache variables FW_REPORT_RECIPIENT,
// FW_KORVAN_URL, FW_VELMAR_URL); every other value as declared above.
AppSettings DefaultSettings();

}  // namespace fw
