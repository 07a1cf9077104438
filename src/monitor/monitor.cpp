#include "monitor/monitor.h"

#include <algorithm>
#include <deque>
#include <variant>

#include "monitor/busy_log.h"
#include "monitor/monitor_text.h"

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
        // A try of a busy log gives up at once: what it would write waits in memory.
        log_.database().setBusyTimeout(0);
        const MonitorClock::TimePoint start = clock_.now();
        status_.startedAt = UtcSecondsAt(start);
        if (settings_.missedStart) logMissed(TimePointOf(*settings_.missedStart), MissedLogBusyText);
        MonitorClock::TimePoint next = start;
        for (;;) {
            if (!due(start, next)) return finish(MonitorEnd::Completed);
            status_.phase = MonitorStatus::Phase::Waiting;
            status_.nextSweep = UtcSecondsAt(next);
            report();
            if (!waitWriting(next)) return stopped();
            const MonitorClock::TimePoint began = clock_.now();
            if (!sweep()) return stopped();
            // Drift-free: the next start follows the planned one, unless the sweep ran late;
            // then the next sweep starts at once and its planned time is logged as missed.
            const MonitorClock::TimePoint planned = next + settings_.interval;
            next = std::max(planned, clock_.now());
            const bool going = due(start, next);
            if (going && next > planned && settings_.interval.count() > 0)
                logMissed(planned, "missed: sweep " + std::to_string(status_.sweepsStarted) +
                                       " ran until " + UtcClockText(UtcSecondsAt(clock_.now())));
            sweepEnded(began, going ? std::optional(next) : std::nullopt);
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
        r.took = std::chrono::duration_cast<std::chrono::milliseconds>(clock_.now() - began);
        r.late = clock_.now() - began > settings_.interval;
        if (next) r.next = UtcSecondsAt(*next);
        // The window sees it with the next status, waiting or finished.
        if (callbacks_.sweepEnded) callbacks_.sweepEnded(r);
    }

    struct KeptReading {
        LogReading reading;
        std::optional<LogSignature> signature;
    };
    using Entry = std::variant<KeptReading, LogGap>;

    // Keeps the entry and writes what is kept, as far as the log lets it now.
    void keep(Entry entry) {
        pending_.push_back(std::move(entry));
        writeKept();
    }

    // Writes the kept entries in order until the log is busy: the rest stays kept, the
    // status says why, and the first busy try of a spell is told once. False while some stay.
    bool writeKept() {
        while (!pending_.empty()) {
            try {
                commit(pending_.front());
            } catch (const LogBusyError& e) {
                if (status_.logBusy.empty()) {
                    status_.logBusy = e.what();
                    if (callbacks_.logBusy) callbacks_.logBusy(e.what());
                    report();
                }
                return false;
            }
            const Entry done = std::move(pending_.front());
            pending_.pop_front();
            told(done);
        }
        if (!status_.logBusy.empty()) {
            status_.logBusy.clear();
            report();
        }
        return true;
    }

    void commit(const Entry& entry) {
        if (const auto* r = std::get_if<KeptReading>(&entry))
            return r->signature ? log_.add(r->reading, *r->signature) : log_.add(r->reading);
        log_.addGap(std::get<LogGap>(entry));
    }

    // Counts a committed entry and tells the window.
    void told(const Entry& entry) {
        if (const auto* r = std::get_if<KeptReading>(&entry)) {
            ++status_.readingsLogged;
            if (callbacks_.reading) callbacks_.reading(r->reading);
        } else {
            ++status_.gapsLogged;
            if (callbacks_.gap) callbacks_.gap(std::get<LogGap>(entry));
        }
        report();
    }

    // Waits for the next sweep; meanwhile kept entries are tried again with a growing wait.
    bool waitWriting(MonitorClock::TimePoint next) {
        std::chrono::seconds wait = FirstBusyWait;
        while (!pending_.empty() && clock_.now() + wait < next) {
            if (!clock_.waitUntil(clock_.now() + wait, stop_)) return false;
            writeKept();
            wait = std::min(wait * 2, LongestBusyWait);
        }
        return clock_.waitUntil(next, stop_);
    }

    // Before the run ends, what is kept is written: waited for through a busy log until a
    // stop, which ends the run with LogError saying what was not logged.
    void writeAllKept() {
        if (pending_.empty()) return;
        const std::string lost = pending_.size() == 1
                                     ? EntryText(pending_.front()) + " was not logged"
                                     : std::to_string(pending_.size()) +
                                           " entries were not logged, from " +
                                           EntryText(pending_.front()) + " on";
        WriteThroughBusy(
            [this] {
                if (writeKept()) return;
                throw LogBusyError(status_.logBusy);
            },
            lost, clock_, stop_, {});
    }

    static std::string EntryText(const Entry& entry) {
        if (const auto* r = std::get_if<KeptReading>(&entry))
            return "the reading of " + r->reading.band;
        return "the gap of " + std::get<LogGap>(entry).band;
    }

    // A sweep that cannot start at its planned time: a gap per band at that time.
    void logMissed(MonitorClock::TimePoint planned, const std::string& reason) {
        for (const LogBand& band : settings_.bands)
            keep(LogGap{UtcSecondsAt(planned), band.band, band.freqMHz, reason,
                        sweeper_.rigName()});
    }

    // One pass over the bands; false when a stop ended it.
    bool sweep() {
        ++status_.sweepsStarted;
        status_.phase = MonitorStatus::Phase::Sweeping;
        status_.nextSweep.reset();
        status_.sweepReadings.clear();
        status_.sweepGaps.clear();
        report();
        retried_ = false;
        for (std::size_t i = 0; i < settings_.bands.size(); ++i) {
            if (stop_.stop_requested()) return false;
            if (!ensureSweeping()) {
                if (stop_.stop_requested()) return false;
                for (std::size_t j = i; j < settings_.bands.size(); ++j)
                    logGap(settings_.bands[j], status_.lastError);
                break;
            }
            if (!readBand(settings_.bands[i])) return false;
        }
        restore();
        return true;
    }

    // Puts the receiver back; a connection that could not do it is dropped.
    void restore() {
        sweepBegun_ = false;
        status_.restoreFailure = sweeper_.endSweep();
        if (status_.restoreFailure.empty()) return;
        status_.lastError = status_.restoreFailure;
        dropConnection();
        report();
    }

    void dropConnection() {
        sweeper_.disconnect();
        status_.connected = false;
        sweepBegun_ = false;
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

    // Reads one band and logs its reading or gap; false when a stop cut the reading short.
    bool readBand(const LogBand& band) {
        BandReadResult result = sweeper_.read(band);
        // The first failure of a sweep may be a connection the rig's end dropped since the
        // last sweep (a restarted rigctld): read once more over a new one.
        if (std::holds_alternative<std::string>(result) && !retried_ && !stop_.stop_requested()) {
            retried_ = true;
            dropConnection();
            if (ensureSweeping()) result = sweeper_.read(band);
        }
        if (stop_.stop_requested() && std::holds_alternative<std::string>(result)) return false;
        const UtcSeconds at = UtcSecondsAt(clock_.now());
        if (const auto* read = std::get_if<BandReading>(&result)) {
            LogReading reading = ReadingFromRow(read->row, at, band.band, sweeper_.source(),
                                                sweeper_.rigName(), settings_.locator);
            const ReadingCalibration applied = sweeper_.calibration();
            reading.calOffsetDb = applied.offsetDb;
            reading.refLevelDbm = applied.refLevelDbm;
            reading.estimate = read->estimate;
            status_.sweepReadings.push_back(reading);
            keep(KeptReading{reading, sweeper_.lastSignature()});
            return true;
        }
        // The connection is suspect after any failure: drop it and open it again for the
        // next band.
        status_.lastError = std::get<std::string>(result);
        dropConnection();
        logGap(band, status_.lastError);
        return true;
    }

    void logGap(const LogBand& band, const std::string& reason) {
        const LogGap gap{UtcSecondsAt(clock_.now()), band.band, band.freqMHz, reason,
                         sweeper_.rigName()};
        status_.sweepGaps.push_back(gap);
        keep(gap);
    }

    // The receiver is put back before the run ends.
    MonitorEnd stopped() {
        status_.phase = MonitorStatus::Phase::Stopping;
        status_.nextSweep.reset();
        report();
        restore();
        return finish(MonitorEnd::Stopped);
    }

    MonitorEnd finish(MonitorEnd end) {
        writeAllKept();
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
    std::deque<Entry> pending_;  // taken, not yet written: the log was busy
    bool sweepBegun_ = false;
    bool retried_ = false;  // the sweep's one second try of a failed band is used
};

}  // namespace

MonitorEnd RunMonitor(StationLog& log, Sweeper& sweeper, MonitorClock& clock,
                      const MonitorSettings& settings, std::stop_token stop,
                      const MonitorCallbacks& callbacks) {
    return MonitorRun(log, sweeper, clock, settings, std::move(stop), callbacks).run();
}

}  // namespace fw
