#pragma once
// Unattended monitoring: sweeps the chosen bands at a fixed interval into the station log,
// for a number of sweeps, for a duration or until stopped. Plain C++: the window runs it on
// a worker thread, floorwatch-cli on its main thread; both stop it through a stop token.
#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "monitor/monitor_clock.h"
#include "monitor/sweeper.h"
#include "stationlog/station_log.h"

namespace fw {

inline constexpr std::chrono::seconds DefaultMonitorInterval{600};

struct MonitorSettings {
    std::vector<LogBand> bands = AllBands();
    // From the start of one sweep to the start of the next; a sweep that takes longer
    // delays the next one, which then starts as soon as it ends.
    std::chrono::seconds interval = DefaultMonitorInterval;
    std::optional<int> sweeps;                     // stop after this many sweeps
    std::optional<std::chrono::seconds> duration;  // start no sweep this long after the start
    std::string locator;                           // logged with every reading
};

// What the window shows while the monitor runs: plain data, a copy per report.
struct MonitorStatus {
    enum class Phase { Sweeping, Waiting, Finished };
    Phase phase = Phase::Sweeping;
    int sweepsStarted = 0;
    int readingsLogged = 0;
    int errorCount = 0;  // bands logged as gaps so far
    bool connected = false;
    // The sweep in progress, or while waiting the last finished one.
    std::vector<LogReading> sweepReadings;
    std::vector<LogGap> sweepGaps;
    std::optional<UtcSeconds> nextSweep;  // none when no further sweep is due
    std::string lastError;
};

struct MonitorCallbacks {
    // After each reading is committed to the log.
    std::function<void(const LogReading&)> reading;
    // After each gap is committed.
    std::function<void(const LogGap&)> gap;
    // After every change of the status.
    std::function<void(const MonitorStatus&)> status;
};

enum class MonitorEnd { Completed, Stopped };

// Runs the schedule until the sweeps or the duration are done (Completed) or a stop is
// requested (Stopped; the reading in hand is finished and logged first). A band that cannot
// be read is logged as a gap; the connection is then dropped and opened again for the next
// band, and where that fails too, the rest of the sweep is logged as gaps and the next sweep
// tries again. Throws LogError when the log cannot be written.
MonitorEnd RunMonitor(StationLog& log, Sweeper& sweeper, MonitorClock& clock,
                      const MonitorSettings& settings, std::stop_token stop,
                      const MonitorCallbacks& callbacks = {});

}  // namespace fw
