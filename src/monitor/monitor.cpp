#include "monitor/monitor.h"

#include <algorithm>

#include "monitor/busy_log.h"

namespace fw {

namespace {

// One run of the schedule: the log, the receiver and what the window is told.
class MonitorRun {
  public:
    MonitorRun(StationLog& log, Sweeper& sweeper, MonitorClock& clock,
               const MonitorSettings& settings, std::stop_token stop,
               const MonitorCallbacks& callbacks)
        : log_(log),
          sweeper_(sweeper),
          clock_(clock),
          settings_(settings),
          stop_(std::move(stop)),
          callbacks_(callbacks) {}

    MonitorEnd run() {
        const MonitorClock::TimePoint start = clock_.now();
        status_.startedAt = UtcSecondsAt(start);
        MonitorClock::TimePoint next = start;
        for (;;) {
            if (!due(start, next)) return finish(MonitorEnd::Completed);
            status_.phase = MonitorStatus::Phase::Waiting;
            status_.nextSweep = UtcSecondsAt(next);
            report();
            if (!clock_.waitUntil(next, stop_)) return finish(MonitorEnd::Stopped);
            const MonitorClock::TimePoint began = clock_.now();
            if (!sweep()) return finish(MonitorEnd::Stopped);
            // Drift-free: the next start follows the planned one, unless the sweep ran late.
            next = std::max(next + settings_.interval, clock_.now());
            sweepEnded(began, due(start, next) ? std::optional(next) : std::nullopt);
        }
    }

  private:
    bool due(MonitorClock::TimePoint start, MonitorClock::TimePoint next) const {
        if (settings_.sweeps && status_.sweepsStarted >= *settings_.sweeps) return false;
        if (settings_.duration && next >= start + *settings_.duration) return false;
        if (settings_.until && next >= TimePointOf(*settings_.until)) return false;
        return true;
    }

    // Keeps the finished sweep for the window's table and reports it.
    void sweepEnded(MonitorClock::TimePoint began, std::optional<MonitorClock::TimePoint> next) {
        status_.lastSweepReadings = status_.sweepReadings;
        status_.lastSweepGaps = status_.sweepGaps;
        SweepReport r;
        r.number = status_.sweepsStarted;
        r.readings = static_cast<int>(status_.sweepReadings.size());
        r.gaps = static_cast<int>(status_.sweepGaps.size());
        r.took = std::chrono::duration_cast<std::chrono::seconds>(clock_.now() - began);
        r.late = clock_.now() - began > settings_.interval;
        if (next) r.next = UtcSecondsAt(*next);
        // The window sees it with the next status, waiting or finished.
        if (callbacks_.sweepEnded) callbacks_.sweepEnded(r);
    }

    // Writes through a busy log, telling once that it waits; the status says so meanwhile.
    void write(const std::function<void()>& entry, const std::string& what) {
        const auto busy = [this](const std::string& reason) {
            status_.logBusy = reason;
            if (callbacks_.logBusy) callbacks_.logBusy(reason);
            report();
        };
        if (!WriteThroughBusy(entry, what, clock_, stop_, busy)) return;
        status_.logBusy.clear();
        report();
    }

    // One pass over the bands; false when a stop ended it.
    bool sweep() {
        ++status_.sweepsStarted;
        status_.phase = MonitorStatus::Phase::Sweeping;
        status_.nextSweep.reset();
        status_.sweepReadings.clear();
        status_.sweepGaps.clear();
        report();
        bool stopped = false;
        for (std::size_t i = 0; i < settings_.bands.size(); ++i) {
            if (stop_.stop_requested()) {
                stopped = true;
                break;
            }
            if (!ensureSweeping()) {
                for (std::size_t j = i; j < settings_.bands.size(); ++j)
                    logGap(settings_.bands[j], status_.lastError);
                break;
            }
            readBand(settings_.bands[i]);
        }
        if (sweepBegun_) sweeper_.endSweep();
        sweepBegun_ = false;
        return !stopped;
    }

    // Connects where needed and begins the sweep on this connection; false when the rig
    // cannot be reached.
    bool ensureSweeping() {
        if (!status_.connected) {
            const std::string error = sweeper_.connect();
            if (!error.empty()) {
                status_.lastError = error;
                return false;
            }
            status_.connected = true;
            report();
        }
        if (!sweepBegun_) sweeper_.beginSweep();
        sweepBegun_ = true;
        return true;
    }

    void readBand(const LogBand& band) {
        const BandReadResult result = sweeper_.read(band);
        const UtcSeconds at = UtcSecondsAt(clock_.now());
        if (const auto* row = std::get_if<MeasRow>(&result)) {
            const LogReading reading = ReadingFromRow(*row, at, band.band, ReadingSource::Rig,
                                                      sweeper_.rigName(), settings_.locator);
            write([&] { log_.add(reading); }, "the reading of " + band.band);
            ++status_.readingsLogged;
            status_.sweepReadings.push_back(reading);
            if (callbacks_.reading) callbacks_.reading(reading);
            report();
            return;
        }
        // The connection is suspect after any failure: drop it, and with it the sweep's
        // hold on the receiver, and open it again for the next band.
        status_.lastError = std::get<std::string>(result);
        sweeper_.disconnect();
        status_.connected = false;
        sweepBegun_ = false;
        logGap(band, status_.lastError);
    }

    void logGap(const LogBand& band, const std::string& reason) {
        const LogGap gap{UtcSecondsAt(clock_.now()), band.band, band.freqMHz, reason,
                         sweeper_.rigName()};
        write([&] { log_.addGap(gap); }, "the gap of " + band.band);
        ++status_.errorCount;
        status_.sweepGaps.push_back(gap);
        if (callbacks_.gap) callbacks_.gap(gap);
        report();
    }

    MonitorEnd finish(MonitorEnd end) {
        status_.endedAt = UtcSecondsAt(clock_.now());
        status_.phase = MonitorStatus::Phase::Finished;
        status_.nextSweep.reset();
        report();
        return end;
    }

    void report() {
        if (callbacks_.status) callbacks_.status(status_);
    }

    StationLog& log_;
    Sweeper& sweeper_;
    MonitorClock& clock_;
    const MonitorSettings& settings_;
    std::stop_token stop_;
    const MonitorCallbacks& callbacks_;
    MonitorStatus status_;
    bool sweepBegun_ = false;
};

}  // namespace

MonitorEnd RunMonitor(StationLog& log, Sweeper& sweeper, MonitorClock& clock,
                      const MonitorSettings& settings, std::stop_token stop,
                      const MonitorCallbacks& callbacks) {
    return MonitorRun(log, sweeper, clock, settings, std::move(stop), callbacks).run();
}

}  // namespace fw
