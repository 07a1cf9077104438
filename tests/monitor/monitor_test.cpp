#include "monitor/monitor.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>

#include "fake_monitor_parts.h"
#include "monitor/monitor_job.h"
#include "monitor/monitor_text.h"
#include "stationlog/log_queries.h"
#include "stationlog/sample_log.h"
#include "support/test_sdr.h"

namespace fw {
namespace {

using namespace test;
using std::chrono::seconds;

const std::vector<LogBand> ThreeBands = {{"80m", 3.65}, {"40m", 7.1}, {"20m", 14.175}};

// One monitor run on a fresh log, with the sweep starts and statuses it reported.
struct MonitorRun {
    TempFolder folder;
    StationLog log = StationLog::Open(folder.file("log.sqlite"));
    JumpingClock clock;
    ScriptedSweeper sweeper{clock};
    MonitorSettings settings;
    std::stop_source stop;
    std::vector<UtcSeconds> sweepStarts;  // seconds after the clock's start
    std::vector<MonitorStatus> statuses;
    std::vector<std::string> lines;  // the sweep lines and the busy notes

    MonitorRun() {
        settings.bands = ThreeBands;
        settings.locator = "JO40CQ";
    }

    MonitorEnd go() {
        MonitorCallbacks callbacks;
        callbacks.status = [this](const MonitorStatus& s) {
            if (s.sweepsStarted != sweeper.sweep) {
                sweeper.sweep = s.sweepsStarted;
                sweepStarts.push_back(UtcSecondsAt(clock.now()) - JumpingClock::Start());
            }
            statuses.push_back(s);
        };
        callbacks.sweepEnded = [this](const SweepReport& r) {
            lines.push_back(SweepLineText(r));
            if (r.late) lines.push_back(LateSweepText(r, settings.interval));
        };
        callbacks.logBusy = [this](const std::string&) { lines.push_back("busy"); };
        return RunMonitor(log, sweeper, clock, settings, stop.get_token(), callbacks);
    }
};

TEST(MonitorSchedule, IntervalRunsFromStartToStartAndALongSweepDelaysTheNext) {
    struct Case {
        const char* name;
        int interval;
        std::map<int, seconds> readSeconds;  // per sweep, for each of its three bands
        std::optional<int> sweeps;
        std::optional<int> duration;
        std::vector<UtcSeconds> starts;
    };
    const std::vector<Case> cases = {
        {"short sweeps", 600, {}, 3, {}, {0, 600, 1200}},
        {"sweeps longer than the interval",
         600,
         {{1, seconds(250)}, {2, seconds(250)}},
         3,
         {},
         {0, 750, 1500}},
        {"one late sweep, then back on the grid",
         600,
         {{2, seconds(300)}},
         4,
         {},
         {0, 600, 1500, 2100}},
        {"duration", 600, {}, {}, 1500, {0, 600, 1200}},
        {"no sweep starts at the end of the duration", 600, {}, {}, 1200, {0, 600}},
        {"count and duration: the first reached ends", 60, {}, 2, 3600, {0, 60}},
        {"back to back", 0, {}, 3, {}, {0, 30, 60}},
    };
    for (const Case& c : cases) {
        MonitorRun run;
        run.settings.interval = seconds(c.interval);
        run.settings.sweeps = c.sweeps;
        if (c.duration) run.settings.duration = seconds(*c.duration);
        run.sweeper.readSeconds = c.readSeconds;
        EXPECT_EQ(run.go(), MonitorEnd::Completed) << c.name;
        EXPECT_EQ(run.sweepStarts, c.starts) << c.name;
        EXPECT_EQ(ReadingsIn(run.log, {}).size(), 3 * c.starts.size()) << c.name;
        EXPECT_EQ(run.statuses.back().phase, MonitorStatus::Phase::Finished) << c.name;
    }
}

TEST(MonitorSchedule, TellsTheNextSweepWhileWaitingAndLogsEachReadingWithItsOwnTime) {
    MonitorRun run;
    run.settings.sweeps = 2;
    run.go();
    std::vector<UtcSeconds> announced;
    for (const MonitorStatus& s : run.statuses)
        if (s.phase == MonitorStatus::Phase::Waiting) announced.push_back(*s.nextSweep);
    EXPECT_EQ(announced,
              (std::vector<UtcSeconds>{JumpingClock::Start(), JumpingClock::Start() + 600}));
    const std::vector<LogReading> readings = ReadingsIn(run.log, {});
    ASSERT_EQ(readings.size(), 6u);
    EXPECT_EQ(readings[0].utc, JumpingClock::Start() + 10);
    EXPECT_EQ(readings[4].utc, JumpingClock::Start() + 620);
    EXPECT_EQ(readings[4].band, "40m");
    EXPECT_EQ(readings[4].rig, "Scripted");
    EXPECT_EQ(readings[4].locator, "JO40CQ");
    EXPECT_EQ(readings[4].source, ReadingSource::Rig);
    EXPECT_EQ(readings[4].calOffsetDb, -1.5);
    // While waiting, the window still sees the last sweep's readings.
    EXPECT_EQ(run.statuses.back().sweepReadings.size(), 3u);
}

TEST(MonitorStop, FinishesTheReadingInHandPutsTheRigBackAndEnds) {
    MonitorRun run;
    run.sweeper.onRead = [&](const LogBand& band) {
        if (band.band == "40m") run.stop.request_stop();
    };
    EXPECT_EQ(run.go(), MonitorEnd::Stopped);
    const std::vector<LogReading> readings = ReadingsIn(run.log, {});
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[1].band, "40m");
    EXPECT_EQ(run.sweeper.calls,
              (std::vector<std::string>{"connect", "begin", "read 80m", "read 40m", "end"}));
    EXPECT_EQ(run.statuses.back().phase, MonitorStatus::Phase::Finished);
}

TEST(MonitorStop, AStopWhileWaitingStartsNoFurtherSweep) {
    MonitorRun run;
    run.clock.onWait = [&](std::size_t wait) {
        if (wait == 2) run.stop.request_stop();
    };
    EXPECT_EQ(run.go(), MonitorEnd::Stopped);
    EXPECT_EQ(run.sweepStarts.size(), 1u);
    EXPECT_EQ(ReadingsIn(run.log, {}).size(), 3u);
}

TEST(MonitorErrors, AFailedBandIsAGapTheConnectionIsRenewedAndTheMonitorGoesOn) {
    MonitorRun run;
    run.settings.sweeps = 3;
    run.sweeper.failingReads = {{{1, "40m"}, "rig not responding"},
                                {{2, "80m"}, "Communication bus error"}};
    run.sweeper.failingConnects = {2};
    EXPECT_EQ(run.go(), MonitorEnd::Completed);

    // Sweep 1 loses 40 m, reads it once more over a new connection, loses it again and goes
    // on with 20 m; sweep 2 loses 80 m and cannot reconnect, neither for the second try nor
    // for 40 m, so 40 m and 20 m are gaps too; sweep 3 reconnects and reads all three.
    std::vector<std::string> gaps;
    for (const LogGap& g : GapsIn(run.log, {})) gaps.push_back(g.band + ": " + g.reason);
    EXPECT_EQ(gaps,
              (std::vector<std::string>{"40m: rig not responding", "80m: Communication bus error",
                                        "40m: rigctld not reachable at 127.0.0.1:4532",
                                        "20m: rigctld not reachable at 127.0.0.1:4532"}));
    std::vector<std::string> read;
    for (const LogReading& r : ReadingsIn(run.log, {})) read.push_back(r.band);
    EXPECT_EQ(read, (std::vector<std::string>{"80m", "20m", "80m", "40m", "20m"}));
    EXPECT_EQ(run.statuses.back().gapsLogged, 4);
    EXPECT_EQ(
        run.sweeper.calls,
        (std::vector<std::string>{
            "connect",  "begin",      "read 80m",   "read 40m", "disconnect", "connect", "begin",
            "read 40m", "disconnect", "connect",    "begin",    "read 20m",   "end",  // sweep 1
            "begin",    "read 80m",   "disconnect", "connect",  "disconnect", "connect",
            "end",                                                                       // sweep 2
            "connect",  "begin",      "read 80m",   "read 40m", "read 20m",   "end"}));  // sweep 3
}

// A rig restarted between two sweeps drops the connection: the sweep's first failed band is
// read again over a new connection and logged as a reading, not a gap.
TEST(MonitorErrors, TheFirstFailedBandOfASweepIsReadOnceMore) {
    MonitorRun run;
    run.settings.sweeps = 2;
    run.sweeper.readsFailOnce = true;
    run.sweeper.failingReads = {{{2, "80m"}, "Communication bus error"},
                                {{2, "40m"}, "rig not responding"}};
    EXPECT_EQ(run.go(), MonitorEnd::Completed);
    EXPECT_EQ(ReadingsIn(run.log, {}).size(), 5u);
    // Only the first failure of the sweep gets a second try.
    const std::vector<LogGap> gaps = GapsIn(run.log, {});
    ASSERT_EQ(gaps.size(), 1u);
    EXPECT_EQ(gaps[0].band + ": " + gaps[0].reason, "40m: rig not responding");
}

// A stop while a band is read drops the reading it cut short (no gap, no reading) and puts
// the receiver back before the status says the run is finished.
TEST(MonitorStop, AReadingCutShortIsNeitherAReadingNorAGap) {
    MonitorRun run;
    run.sweeper.failingReads = {{{1, "40m"}, "cancelled"}};
    run.sweeper.onRead = [&](const LogBand& band) {
        if (band.band == "40m") run.stop.request_stop();
    };
    EXPECT_EQ(run.go(), MonitorEnd::Stopped);
    EXPECT_EQ(ReadingsIn(run.log, {}).size(), 1u);
    EXPECT_TRUE(GapsIn(run.log, {}).empty());
    EXPECT_EQ(run.sweeper.calls.back(), "end");
    ASSERT_GE(run.statuses.size(), 2u);
    EXPECT_EQ(run.statuses[run.statuses.size() - 2].phase, MonitorStatus::Phase::Stopping);
}

// A sweep a fraction of a second late says by how much, rounded up to a tenth.
TEST(MonitorReport, ALateSweepNamesItsTimeInTenths) {
    SweepReport r;
    r.number = 1;
    for (const auto& [ms, text] : {std::pair{6001, "6.1"}, {6300, "6.3"}, {7000, "7"}}) {
        r.took = std::chrono::milliseconds(ms);
        EXPECT_EQ(LateSweepText(r, seconds(6)),
                  "sweep 1 took " + std::string(text) + " s, longer than the interval of 6 s");
    }
}

TEST(MonitorReport, ALinePerSweepALateSweepWarnedAndNoSweepFromTheUntilTimeOn) {
    MonitorRun run;
    run.settings.until = JumpingClock::Start() + 1500;
    run.sweeper.failingReads = {{{1, "40m"}, "rig not responding"}};
    run.sweeper.readSeconds = {{2, seconds(250)}};
    EXPECT_EQ(run.go(), MonitorEnd::Completed);
    EXPECT_EQ(run.lines, (std::vector<std::string>{
                             "sweep 1: 2 bands, 1 gap, next at 00:10:00Z",
                             "sweep 2: 3 bands, 0 gaps, next at 00:22:30Z",
                             "sweep 2 took 750 s, longer than the interval of 600 s; the next "
                             "one starts at once",
                             "sweep 3: 3 bands, 0 gaps"}));
    EXPECT_EQ(MonitorSummaryText(run.statuses.back()),
              "3 sweeps, 8 readings, 4 gaps from 2026-03-01T00:00:00Z to 2026-03-01T00:23:00Z");
    // Sweep 3 was due at 00:20: missed, a gap per band at that time.
    const std::vector<LogGap> gaps = GapsIn(run.log, {});
    ASSERT_EQ(gaps.size(), 4u);
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(gaps[i].utc, JumpingClock::Start() + 1200);
        EXPECT_EQ(gaps[i].reason, "missed: sweep 2 ran until 00:22:30Z");
        EXPECT_EQ(gaps[i].band, ThreeBands[i - 1].band);
    }
    // While sweep 2 runs, the table keeps sweep 1, which went over all its bands.
    for (const MonitorStatus& s : run.statuses) {
        if (s.sweepsStarted != 2 || s.phase != MonitorStatus::Phase::Sweeping) continue;
        EXPECT_EQ(s.lastSweepReadings.size(), 2u);
        EXPECT_EQ(s.lastSweepGaps.size(), 1u);
    }
}

TEST(MonitorBusyLog, ReadingsWaitInMemoryTriedWithAGrowingWaitAndTheSweepsKeepTheirTimes) {
    MonitorRun run;
    run.settings.sweeps = 2;
    // No wait inside SQLite: each try of the monitor's connection finds the lock at once.
    sqlite3_busy_timeout(run.log.database().handle(), 0);
    SqliteDb other(run.log.path(), SqliteDb::Mode::ReadWriteCreate);
    run.sweeper.onRead = [&](const LogBand& band) {
        if (band.band == "40m" && run.sweeper.sweep == 1) other.exec("BEGIN IMMEDIATE");
    };
    // The first wait is the schedule's; the third busy one ends with the lock released.
    run.clock.onWait = [&](std::size_t wait) {
        if (wait == 4) other.exec("COMMIT");
    };
    EXPECT_EQ(run.go(), MonitorEnd::Completed);
    EXPECT_EQ(std::count(run.lines.begin(), run.lines.end(), "busy"), 1);
    // The lock came during 40 m, 20 s into sweep 1, which still ended at 30 s; then tries
    // after 1, 2 and 4 s more, and sweep 2 on time.
    EXPECT_EQ(run.sweepStarts, (std::vector<UtcSeconds>{0, 600}));
    const std::vector<UtcSeconds>& w = run.clock.waits;
    ASSERT_GE(w.size(), 4u);
    EXPECT_EQ(std::vector<UtcSeconds>(w.begin() + 1, w.begin() + 4),
              (std::vector<UtcSeconds>{JumpingClock::Start() + 31, JumpingClock::Start() + 33,
                                       JumpingClock::Start() + 37}));
    const std::vector<LogReading> readings = ReadingsIn(run.log, {});
    ASSERT_EQ(readings.size(), 6u);
    EXPECT_EQ(readings[1].utc, JumpingClock::Start() + 20);  // its own time, not the write's
    EXPECT_TRUE(GapsIn(run.log, {}).empty());
    EXPECT_TRUE(run.statuses.back().logBusy.empty());

    // A stop while waiting ends the run and says what was not logged; a failure other than
    // busy ends it at once.
    MonitorRun stopped;
    sqlite3_busy_timeout(stopped.log.database().handle(), 0);
    SqliteDb holder(stopped.log.path(), SqliteDb::Mode::ReadWriteCreate);
    holder.exec("BEGIN IMMEDIATE");
    stopped.clock.onWait = [&](std::size_t wait) {
        if (wait == 3) stopped.stop.request_stop();
    };
    try {
        stopped.go();
        ADD_FAILURE() << "the run went on";
    } catch (const LogError& e) {
        EXPECT_NE(std::string(e.what()).find("3 entries were not logged, from the reading of 80m on"),
                  std::string::npos)
            << e.what();
    }
    MonitorRun broken;
    broken.sweeper.onRead = [&](const LogBand&) { broken.log.database().exec("DROP TABLE readings"); };
    EXPECT_THROW(broken.go(), LogError);
    EXPECT_EQ(broken.sweeper.calls.size(), 3u);  // connect, begin, read 80m
}

// A job on the tests' SoapySDR module.
MonitorJob TestSdrJob(const std::string& logPath) {
    UseTestSdr();
    MonitorJob job;
    job.logPath = logPath;
    job.sdr = sdr::SdrSettings{"driver=fwtest,n0_db=-140", 250e3, 10.0, "", -30, 0.5};
    return job;
}

// A log in rollback-journal mode that another program holds at the start is waited for; the
// sweep it kept from its time is logged as missed.
TEST(MonitorBusyLog, ALogHeldAtTheStartIsWaitedForAndItsSweepLoggedAsMissed) {
    TempFolder folder;
    MonitorJob job = TestSdrJob(folder.file("log.sqlite"));
    job.settings.sweeps = 1;
    ASSERT_EQ(PrepareMonitorJob(job, "80m,40m"), "");
    StationLog::Open(job.logPath);  // closed in rollback-journal mode
    SqliteDb holder(job.logPath, SqliteDb::Mode::ReadWriteCreate);
    holder.exec("BEGIN IMMEDIATE");
    JumpingClock clock;
    clock.onWait = [&](std::size_t wait) {
        if (wait == 1) holder.exec("COMMIT");
    };
    std::string busy;
    MonitorCallbacks callbacks;
    callbacks.logBusy = [&](const std::string& reason) { busy += reason + "\n"; };
    ASSERT_TRUE(RunMonitorJob(job, clock, {}, callbacks));
    EXPECT_EQ(busy, "station log " + job.logPath + ": database is locked\n");

    StationLog log = StationLog::Open(job.logPath, StationLog::OpenMode::ReadOnly);
    EXPECT_EQ(ReadingsIn(log, {}).size(), 2u);
    const std::vector<LogGap> gaps = GapsIn(log, {});
    ASSERT_EQ(gaps.size(), 2u);
    EXPECT_EQ(gaps[0].band + gaps[1].band + gaps[1].reason, std::string("80m40m") + MissedLogBusyText);
    EXPECT_EQ(gaps[0].utc, JumpingClock::Start());
}

// The tests' SoapySDR module behind the job's start-up and the real ReceiverSweeper.
TEST(SdrMonitor, LogsAntennaPowerAsSdrReadingsAndTheGoneDeviceAsGapsUntilItIsBack) {
    TempFolder folder;
    MonitorJob job = TestSdrJob(folder.file("log.sqlite"));
    job.plan.reading.gain = "0";
    job.plan.reading.offsets = {{"40m", 1.5}};
    job.settings.sweeps = 3;
    ASSERT_EQ(PrepareMonitorJob(job, "80m,40m"), "");
    JumpingClock clock;
    // The receiver is unplugged during the second sweep's wait and back for the third.
    clock.onWait = [](std::size_t wait) {
        if (wait == 2) setenv("FW_TEST_SDR_GONE", "1", 1);
        if (wait == 3) unsetenv("FW_TEST_SDR_GONE");
    };
    const Outcome<MonitorEnd> end = RunMonitorJob(job, clock, {}, {});
    ASSERT_TRUE(end) << end.reason();

    StationLog log = StationLog::Open(job.logPath, StationLog::OpenMode::ReadOnly);
    const std::vector<LogReading> readings = ReadingsIn(log, {});
    ASSERT_EQ(readings.size(), 4u);
    for (const LogReading& r : readings) {
        EXPECT_EQ(r.source, ReadingSource::Sdr);
        EXPECT_EQ(r.rig, "Floorwatch test SDR");
        // -140 dBFS/Hz + 10 dB gain + 34.3 dB (2700 Hz) - 30 dBm, and 40m's offset.
        EXPECT_NEAR(r.antPowerDbm, -125.69 + (r.band == "40m" ? 1.5 : 0), 0.5) << r.band;
        ASSERT_TRUE(r.estimate);  // kept with the reading
        EXPECT_NEAR(r.estimate->n0DbfsPerHz, -130, 0.5);
    }
    const std::vector<LogGap> gaps = GapsIn(log, {});
    ASSERT_EQ(gaps.size(), 2u);
    EXPECT_EQ(gaps[0].band + gaps[1].band, "80m40m");
    EXPECT_EQ(gaps[0].rig, "Floorwatch test SDR");
    EXPECT_EQ(gaps[0].reason.rfind("SDR not available: ", 0), 0u) << gaps[0].reason;
}

// A driver that throws while it reads (and closes) costs that band, the device opened again
// for the next; an overloaded band is a gap that says so, and the run goes on.
TEST(SdrMonitor, ADriverThatThrowsOrAnOverloadCostsTheBandOnly) {
    const struct { std::string args, throws, gaps, reason, readings; } cases[] = {
        {"driver=fwtest", "readStream,deactivateStream", "80m",
         "SDR not available: the driver failed: fwtest: readStream: connection lost", "40m"},
        {"driver=fwtest,n0_db=-60,native=CS16", "", "80m40m", "overload: ", ""},
    };
    for (const auto& c : cases) {
        UseTestSdr();
        TempFolder folder;
        MonitorJob job;
        job.logPath = folder.file("log.sqlite");
        job.sdr = sdr::SdrSettings{c.args, 250e3, 0.0, "", -30, 0.2};
        job.plan.reading.gain = "0";
        job.settings.sweeps = 1;
        ASSERT_EQ(PrepareMonitorJob(job, "80m,40m"), "");
        setenv("FW_TEST_SDR_THROW", c.throws.c_str(), 1);
        JumpingClock clock;
        MonitorCallbacks mended;  // the server is back once the first band is a gap
        mended.gap = [](const LogGap&) { unsetenv("FW_TEST_SDR_THROW"); };
        const Outcome<MonitorEnd> end = RunMonitorJob(job, clock, {}, mended);
        ASSERT_TRUE(end) << end.reason();
        StationLog log = StationLog::Open(job.logPath, StationLog::OpenMode::ReadOnly);
        std::string gaps, readings;
        for (const LogGap& g : GapsIn(log, {})) {
            gaps += g.band;
            EXPECT_EQ(g.reason.substr(0, c.reason.size()), c.reason);
        }
        for (const LogReading& r : ReadingsIn(log, {})) readings += r.band;
        EXPECT_EQ(gaps, c.gaps);
        EXPECT_EQ(readings, c.readings);
    }
}

}  // namespace
}  // namespace fw
