#pragma once
// The monitor's start-up, written once for the window's Start and floorwatch-cli monitor:
// check the bands, the reading plan and the locator, open the rig or the SDR, open the log,
// run.
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "model/outcome.h"
#include "monitor/monitor.h"
#include "monitor/monitor_clock.h"
#include "rig/rig_settings.h"
#include "rig/sweep.h"
#include "receiver/reading.h"
#include "sdr/sdr_session.h"

namespace fw {

// Everything one run needs; copied to the window's worker thread.
struct MonitorJob {
    std::string logPath;
    rig::RigConnection connection;
    // When set, the SDR is read instead of the rig, and only the plan's reading (gain,
    // bandwidth, calibration offsets) counts.
    std::optional<sdr::SdrSettings> sdr;
    rig::SweepPlan plan;  // the mode rule, settle time and reading plan; targets unused
    MonitorSettings settings;
    char sep = '.';
    std::string rigUser = "Floorwatch";  // who holds the rig, for a second job's refusal
    // With an SDR: told each measurement (noise floor, spectrum) before its row is logged.
    std::function<void(const receiver::Reading&)> noise;
};

// Checks, before anything is touched, the bands (those of the comma list; all without one)
// as entries with the job's reading plan, the plan's limits and the locator (an empty one is
// none), and fills job.settings.bands and the locator's usual spelling. An empty text when
// all is well, otherwise the message naming the value refused.
std::string PrepareMonitorJob(MonitorJob& job, const std::optional<std::string_view>& bands);

// Takes the rig or the SDR (refused while another job holds it), opens it (one that cannot
// be reached at the start is more likely a wrong address than an outage: refused at once,
// before the log is touched), opens the log with its
// folder, creating it where missing, and runs the monitor. The end of the run, or the
// message why it could not start or why the log could not be written. `stop` also ends the
// rig's waits; `hurry` (a second stop request) cuts short the restore after a stop.
Outcome<MonitorEnd> RunMonitorJob(const MonitorJob& job, MonitorClock& clock, std::stop_token stop,
                                  const MonitorCallbacks& callbacks, std::stop_token hurry = {});

}  // namespace fw
