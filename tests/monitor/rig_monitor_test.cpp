// The monitor against a real rigctld with Hamlib's dummy rig, which the test stops and
// starts again between sweeps, or freezes.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_monitor_parts.h"
#include "model/levels.h"
#include "monitor/monitor.h"
#include "monitor/receiver_sweeper.h"
#include "rig/rig_error.h"
#include "rig/rig_receiver.h"
#include "rig/rigctld_process.h"
#include "stationlog/sample_log.h"

namespace fw {
namespace {

using namespace test;

// rigctld with the dummy rig on one fixed port, that can be ended and started again there.
class RestartableRigctld {
  public:
    RestartableRigctld() : port_(rig::test::FreeLoopbackPort()) { start(); }
    ~RestartableRigctld() { stop(); }

    void start() {
        const std::string port = std::to_string(port_);
        pid_ = fork();
        if (pid_ == 0) {
            freopen("/dev/null", "w", stdout);
            freopen("/dev/null", "w", stderr);
            execlp("rigctld", "rigctld", "-m", "1", "-T", "127.0.0.1", "-t", port.c_str(), "-C",
                   "static_data=1", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 250 && !rig::test::Listening(port_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(rig::test::Listening(port_)) << "rigctld did not start on " << port_;
    }
    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

  private:
    int port_;
    pid_t pid_ = -1;
};

rig::SweepPlan QuickPlan() {
    rig::SweepPlan plan;
    plan.settle = std::chrono::milliseconds(0);
    plan.reading.samples = 1;
    plan.reading.gain = "2.15";
    plan.reading.offsets = {{"20m", 1.5}};
    return plan;
}

rig::RigConnection Via(const std::string& address, int timeoutMs = 1000) {
    rig::RigConnection connection;
    connection.target = rig::ParseRigctldAddress(address);
    connection.timeoutMs = timeoutMs;
    return connection;
}

// The monitor's receiver over the rig, with the quick plan.
ReceiverSweeper RigSweeper(const rig::RigConnection& connection, std::stop_token stop = {}) {
    return ReceiverSweeper(std::make_unique<rig::RigReceiver>(connection, QuickPlan(), '.', stop),
                           ReadingSource::Rig, QuickPlan().reading, '.', stop);
}

TEST(RigMonitor, RigctldRestartedOrGoneCostsNoMoreThanItsSweepAndTheRigEndsAsTheOperatorLeftIt) {
    RestartableRigctld daemon;
    TempFolder folder;
    StationLog log = StationLog::Open(folder.file("log.sqlite"));
    const rig::Tuning own{7030000, {"CW", 500}};
    {
        rig::RigSession rig(Via(daemon.address()));
        rig.setFrequencyHz(own.frequencyHz);
        rig.setMode(own.mode);
    }
    ReceiverSweeper sweeper = RigSweeper(Via(daemon.address()));
    ASSERT_EQ(sweeper.connect(), "");

    JumpingClock clock;
    // Between sweeps the operator tunes the rig; each sweep gives back what it found.
    const rig::Tuning operators{14200000, {"USB", 2400}};
    clock.onWait = [&](std::size_t wait) {
        if (wait == 2) {  // restarted between sweeps 1 and 2
            daemon.stop();
            daemon.start();
        }
        if (wait == 3) daemon.stop();  // gone for sweep 3
        if (wait == 4) {               // back for sweeps 4 and 5
            daemon.start();
            rig::RigSession rig(Via(daemon.address()));
            rig.setFrequencyHz(operators.frequencyHz);
            rig.setMode(operators.mode);
        }
    };
    MonitorSettings settings;
    settings.bands = {{"80m", 3.65}, {"20m", 14.175}};
    settings.sweeps = 5;
    settings.locator = "JO40CQ";
    EXPECT_EQ(RunMonitor(log, sweeper, clock, settings, {}), MonitorEnd::Completed);

    // Sweep 2 reads its first band again over a new connection; only sweep 3 has gaps.
    const std::vector<LogReading> readings = ReadingsIn(log, {});
    ASSERT_EQ(readings.size(), 8u);
    EXPECT_EQ(readings.back().band, "20m");
    for (const LogReading& r : readings) {
        // The dummy rig reads -12 dB over S9 (50 uV), 20 m is calibrated 1.5 dB up: an
        // antenna-voltage entry of that value.
        const double offset = r.band == "20m" ? 1.5 : 0;
        const MeasurementLevels typed =
            LevelsFromAntennaVoltage(20 * std::log10(50.0) - 12 + offset, r.freqMHz, 2.15);
        EXPECT_NEAR(r.antVoltDbuV, typed.AntVoltDbuV, 1e-9);
        EXPECT_NEAR(r.fieldDbuVm, typed.FieldDbuVm, 1e-9);
        EXPECT_EQ(r.method, "AntVol");
        EXPECT_EQ(r.rig, "rigctld at " + daemon.address());
    }
    const std::vector<LogGap> gaps = GapsIn(log, {});
    ASSERT_EQ(gaps.size(), 2u);
    EXPECT_EQ(gaps[0].band, "80m");
    EXPECT_FALSE(gaps[0].reason.empty());  // Hamlib's word for a connection lost mid-call
    EXPECT_EQ(gaps[1].band, "20m");
    EXPECT_EQ(gaps[1].reason, rig::RigctldUnreachableText(daemon.address()));

    // Put back to the tuning the operator chose between the sweeps, not the run's first one.
    sweeper.disconnect();
    rig::RigSession rig(Via(daemon.address()));
    EXPECT_EQ(rig.frequencyHz(), operators.frequencyHz);
    EXPECT_EQ(rig.mode(), operators.mode);
}

// A frozen rigctld (SIGSTOP) gives gaps "rig not responding", never more than one connection
// of ours waits at it, and a stop ends the run although the daemon never answers.
TEST(RigMonitor, AFrozenRigctldGivesGapsAndHoldsNoStop) {
    rig::test::RigctldProcess daemon;
    TempFolder folder;
    StationLog log = StationLog::Open(folder.file("log.sqlite"));
    std::stop_source stop;
    ReceiverSweeper sweeper = RigSweeper(Via(daemon.address(), 300), stop.get_token());
    ASSERT_EQ(sweeper.connect(), "");
    JumpingClock clock;
    bool fourthSweep = false;
    clock.onWait = [&](std::size_t wait) {
        if (wait == 2) daemon.pause();
        fourthSweep = wait == 4;
    };
    MonitorSettings settings;
    settings.bands = {{"80m", 3.65}, {"20m", 14.175}};
    std::vector<MonitorStatus::Phase> phases;
    MonitorCallbacks callbacks;
    // The stop comes within the fourth sweep, with the daemon still frozen for what follows.
    callbacks.gap = [&](const LogGap&) {
        if (fourthSweep) stop.request_stop();
    };
    callbacks.status = [&](const MonitorStatus& s) {
        EXPECT_LE(rig::test::WaitingConnections(daemon.port()), 1);
        phases.push_back(s.phase);
    };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunMonitor(log, sweeper, clock, settings, stop.get_token(), callbacks),
              MonitorEnd::Stopped);
    // Hang detection only: before, each try took minutes once the daemon's queue was full.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(ReadingsIn(log, {}).size(), 2u);
    const std::vector<LogGap> gaps = GapsIn(log, {});
    ASSERT_GE(gaps.size(), 4u);  // sweeps 2 and 3, and what sweep 4 reached
    for (const LogGap& g : gaps) EXPECT_EQ(g.reason, rig::NotRespondingText) << g.band;
    EXPECT_EQ(phases.back(), MonitorStatus::Phase::Finished);
    daemon.resume();
}

// A stop cuts a reading that waits for a frozen rigctld, not at the two minutes' timeout, and
// the restore that follows says that the rig may not be back where it was.
TEST(RigMonitor, AStopCutsAReadingOfAFrozenRigctldAndItsRestore) {
    rig::test::RigctldProcess daemon;
    std::stop_source stop;
    ReceiverSweeper sweeper = RigSweeper(Via(daemon.address(), 120'000), stop.get_token());
    ASSERT_EQ(sweeper.connect(), "");
    daemon.pause();
    const std::jthread stopper = rig::test::StopAfter(stop, 300);
    EXPECT_TRUE(std::holds_alternative<std::string>(sweeper.read({"20m", 14.175})));
    EXPECT_EQ(sweeper.endSweep().rfind(std::string(rig::CutText) + "; the rig may not be back at ", 0),
              0u);
    daemon.resume();
}

}  // namespace
}  // namespace fw
