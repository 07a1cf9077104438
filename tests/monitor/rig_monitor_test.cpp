// The monitor against a real rigctld with Hamlib's dummy rig, which the test stops and
// starts again between sweeps.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_monitor_parts.h"
#include "model/levels.h"
#include "monitor/monitor.h"
#include "monitor/rig_sweeper.h"
#include "rig/rig_error.h"
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

TEST(RigMonitor, RigctldGoneIsLoggedAsGapsAndTheMonitorReconnectsWhenItIsBack) {
    RestartableRigctld daemon;
    TempFolder folder;
    StationLog log = StationLog::Open(folder.file("log.sqlite"));

    rig::RigConnection connection;
    connection.target = rig::ParseRigctldAddress(daemon.address());
    rig::SweepPlan plan;
    plan.settle = std::chrono::milliseconds(0);
    plan.reading.samples = 1;
    plan.reading.gain = "2.15";
    plan.reading.offsets = {{"20m", 1.5}};
    RigSweeper sweeper(connection, plan, '.');
    ASSERT_EQ(sweeper.connect(), "");

    JumpingClock clock;
    clock.onWait = [&](std::size_t wait) {
        if (wait == 2) daemon.stop();   // gone before the second sweep
        if (wait == 3) daemon.start();  // back before the third
    };
    MonitorSettings settings;
    settings.bands = {{"80m", 3.65}, {"20m", 14.175}};
    settings.sweeps = 4;
    settings.locator = "JO40CQ";
    EXPECT_EQ(RunMonitor(log, sweeper, clock, settings, {}), MonitorEnd::Completed);

    const std::vector<LogReading> readings = ReadingsIn(log, {});
    // Sweep 1 reads both bands, sweep 2 finds the rig gone; after the restart rigctld 4.5 may
    // still drop a first connection, so by sweep 4 at the latest both bands are read again.
    ASSERT_GE(readings.size(), 4u);
    ASSERT_LE(readings.size(), 6u);
    EXPECT_EQ(readings.back().band, "20m");
    EXPECT_GT(readings.back().utc, GapsIn(log, {}).front().utc);
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
    ASSERT_EQ(gaps.size() + readings.size(), 8u);
    EXPECT_EQ(gaps[0].band, "80m");
    EXPECT_FALSE(gaps[0].reason.empty());  // Hamlib's word for a connection lost mid-call
    EXPECT_EQ(gaps[1].band, "20m");
    EXPECT_EQ(gaps[1].reason, rig::RigctldUnreachableText(daemon.address()));
}

}  // namespace
}  // namespace fw
