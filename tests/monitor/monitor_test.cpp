#include "monitor/monitor.h"

#include <gtest/gtest.h>

#include "fake_monitor_parts.h"
#include "stationlog/log_queries.h"
#include "stationlog/sample_log.h"

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

    // Sweep 1 loses 40 m and reconnects for 20 m; sweep 2 loses 80 m and cannot reconnect,
    // so 40 m and 20 m are gaps too; sweep 3 reconnects and reads all three.
    std::vector<std::string> gaps;
    for (const LogGap& g : GapsIn(run.log, {})) gaps.push_back(g.band + ": " + g.reason);
    EXPECT_EQ(gaps,
              (std::vector<std::string>{"40m: rig not responding", "80m: Communication bus error",
                                        "40m: rigctld not reachable at 127.0.0.1:4532",
                                        "20m: rigctld not reachable at 127.0.0.1:4532"}));
    std::vector<std::string> read;
    for (const LogReading& r : ReadingsIn(run.log, {})) read.push_back(r.band);
    EXPECT_EQ(read, (std::vector<std::string>{"80m", "20m", "80m", "40m", "20m"}));
    EXPECT_EQ(run.statuses.back().errorCount, 4);
    EXPECT_EQ(run.sweeper.calls,
              (std::vector<std::string>{"connect", "begin", "read 80m", "read 40m", "disconnect",
                                        "connect", "begin", "read 20m", "end",         // sweep 1
                                        "begin", "read 80m", "disconnect", "connect",  // sweep 2
                                        "connect", "begin", "read 80m", "read 40m", "read 20m",
                                        "end"}));  // sweep 3
}

}  // namespace
}  // namespace fw
