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
    std::optional<UtcSeconds> until;               // start no sweep at or after this time
    std::string locator;                           // logged with every reading
    // When the run was to begin, where the log was busy then: that sweep is logged as
    // missed, a gap per band.
    std::optional<UtcSeconds> missedStart;
};

// The reason of the gaps of a sweep that could not start because the log was busy.
inline constexpr const char* MissedLogBusyText = "missed: log busy";

// What the window shows while the monitor runs: plain data, a copy per report.
struct MonitorStatus {
    enum class Phase { Sweeping, Waiting, Stopping, Finished };
    Phase phase = Phase::Sweeping;
    int sweepsStarted = 0;
    int readingsLogged = 0;
    int gapsLogged = 0;  // bands that could not be read, logged as gaps
    bool connected = false;
    // The sweep in progress, or while waiting the last finished one.
    std::vector<LogReading> sweepReadings;
    std::vector<LogGap> sweepGaps;
    std::optional<UtcSeconds> nextSweep;  // none when no further sweep is due
    std::string lastError;
    // The last sweep that went over all its bands, for the window's table.
    std::vector<LogReading> lastSweepReadings;
    std::vector<LogGap> lastSweepGaps;
    // The run's span: from its start to its end (none while it runs).
    UtcSeconds startedAt = 0;
    std::optional<UtcSeconds> endedAt;
    // While readings wait for a log that another program holds locked: the reason.
    std::string logBusy;
    // Why the receiver could not be put back after the last sweep, and where it was left;
    // empty when it was.
    std::string restoreFailure;
};

// What one finished sweep did, for the line after it.
struct SweepReport {
    int number = 0;
    int readings = 0;
    int gaps = 0;
    std::chrono::milliseconds took{0};
    bool late = false;                // it took longer than the interval
    std::optional<UtcSeconds> next;   // none when no further sweep is due
};

struct MonitorCallbacks {
    // After each reading is committed to the log (while the log is busy, readings wait in
    // memory and are committed, in order, once it is free).
    std::function<void(const LogReading&)> reading;
    // After each gap is committed.
    std::function<void(const LogGap&)> gap;
    // After every change of the status.
    std::function<void(const MonitorStatus&)> status;
    // After each sweep that went over all its bands.
    std::function<void(const SweepReport&)> sweepEnded;
    // Once when a write finds the log busy; what is read meanwhile is kept in memory and
    // written as soon as the log is free, and the sweeps go on at their times.
    std::function<void(const std::string& reason)> logBusy;
};

enum class MonitorEnd { Completed, Stopped };

// Runs the schedule until the sweeps or the duration are done (Completed) or a stop is
// requested (Stopped: a reading that the stop cuts short is dropped, not logged; the status
// turns Stopping while the receiver is put back). A band that cannot be read is logged as a
// gap; the connection is then dropped and opened again for the next band, and where that
// fails too, the rest of the sweep is logged as gaps and the next sweep tries again. The
// first band of a sweep that fails is read once more over a new connection before it counts
// as a gap. A log that another program holds locked keeps the readings and gaps in memory,
// tried again between the sweeps with a growing wait; the run ends only once they are
// written (a stop meanwhile: LogError saying what was not logged). A sweep that starts after
// its planned time (the one before ran long) is logged as missed at that time, a gap per
// band. Throws LogError when the log cannot be written for another reason.
MonitorEnd RunMonitor(StationLog& log, Sweeper& sweeper, MonitorClock& clock,
                      const MonitorSettings& settings, std::stop_token stop,
                      const MonitorCallbacks& callbacks = {});

}  // namespace fw
