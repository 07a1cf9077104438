#include "monitor/monitor.h"

#include <algorithm>

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
        MonitorClock::TimePoint next = start;
        for (;;) {
            if (!due(start, next)) return finish(MonitorEnd::Completed);
            status_.phase = MonitorStatus::Phase::Waiting;
            status_.nextSweep = UtcSecondsAt(next);
            report();
            if (!clock_.waitUntil(next, stop_)) return finish(MonitorEnd::Stopped);
            if (!sweep()) return finish(MonitorEnd::Stopped);
            // Drift-free: the next start follows the planned one, unless the sweep ran late.
            next = std::max(next + settings_.interval, clock_.now());
        }
    }

  private:
    bool due(MonitorClock::TimePoint start, MonitorClock::TimePoint next) const {
        if (settings_.sweeps && status_.sweepsStarted >= *settings_.sweeps) return false;
        if (settings_.duration && next >= start + *settings_.duration) return false;
        return true;
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
            log_.add(reading);
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
        log_.addGap(gap);
        ++status_.errorCount;
        status_.sweepGaps.push_back(gap);
        if (callbacks_.gap) callbacks_.gap(gap);
        report();
    }

    MonitorEnd finish(MonitorEnd end) {
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
