// floorwatch-cli monitor against a real rigctld with Hamlib's dummy rig: signals, a kill at a
// random moment, refusals.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <thread>

#include "../rig/rigctld_process.h"
#include "child_cli.h"
#include "support/wait_for.h"
#include "cli_run.h"
#include "model/levels.h"
#include "rig/rig_session.h"
#include "rig/sweep.h"
#include "stationlog/log_queries.h"
#include "stationlog/sample_log.h"

namespace fw::cli {
namespace {

using namespace test;
using namespace ::fw::test;
using rig::test::RigctldProcess;


std::vector<std::string> MonitorArgs(const RigctldProcess& daemon, const std::string& log,
                                     const std::string& readings, const std::string& settle = "0") {
    return {"monitor",    "--rigctld", daemon.address(), "--log", log,         "--every", "1",
            "--readings", readings,    "--settle",       settle,  "--locator", "JO40CQ"};
}

// The dummy rig behind the daemon, set to a tuning of the user's own before a run.
const rig::Tuning OwnTuning{7030000, {"CW", 500}};

void TuneOwn(const RigctldProcess& daemon) {
    rig::RigSession rig(rig::RigConnection{rig::ParseRigctldAddress(daemon.address())});
    rig.setFrequencyHz(OwnTuning.frequencyHz);
    rig.setMode(OwnTuning.mode);
}

std::string TuningNow(const RigctldProcess& daemon) {
    rig::RigSession rig(rig::RigConnection{rig::ParseRigctldAddress(daemon.address())});
    return rig::TuningText(rig::ReadTuning(rig));
}

// Every reading of the log is one the dummy rig gave (-12 dB over S9) and holds all its
// levels as a typed antenna-voltage entry of that value would.
void ExpectWholeReadings(const std::string& path, const std::string& address) {
    StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
    EXPECT_EQ(log.database().queryText("PRAGMA integrity_check"), "ok");
    for (const LogReading& r : ReadingsIn(log, {})) {
        ASSERT_EQ(r.freqMHz, BandFrequencyMHz(r.band)) << r.band;
        const MeasurementLevels typed =
            LevelsFromAntennaVoltage(20 * std::log10(50.0) - 12, r.freqMHz, 2.15);
        EXPECT_NEAR(r.antVoltDbuV, typed.AntVoltDbuV, 1e-9);
        EXPECT_NEAR(r.fieldDbuVm, typed.FieldDbuVm, 1e-9);
        EXPECT_NEAR(r.sUnits, typed.SUnits, 1e-9);
        EXPECT_NEAR(r.antPowerDbm, typed.AntPowerDbm, 1e-9);
        EXPECT_EQ(r.gainDbi, 2.15);
        EXPECT_EQ(r.bandwidthHz, 2700);
        EXPECT_EQ(r.method, "AntVol");
        EXPECT_EQ(r.rig, "rigctld at " + address);
        EXPECT_EQ(r.locator, "JO40CQ");
    }
}

std::size_t ReadingCount(const std::string& path) {
    StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
    return ReadingsIn(log, {}).size();
}

TEST(CliMonitor, SigtermSigintOrSighupRestoresTheRigAndExitsZero) {
    RigctldProcess daemon;
    TempFolder folder;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        TuneOwn(daemon);
        const std::string log = folder.file("log" + std::to_string(sig) + ".sqlite");
        const std::string err = folder.file("err.txt");
        // Three samples 200 ms apart: the signal comes during a reading.
        ChildMonitor child(MonitorArgs(daemon, log, "3"), err);
        std::vector<std::string> lines = {child.line(), child.line()};
        ASSERT_FALSE(lines[1].empty()) << ReadAll(err);
        child.signal(sig);
        for (const std::string& l : child.restOfOutput()) lines.push_back(l);
        const int status = child.wait();
        ASSERT_TRUE(WIFEXITED(status)) << sig;
        EXPECT_EQ(WEXITSTATUS(status), ExitOk) << ReadAll(err);
        EXPECT_NE(ReadAll(err).find("stopping: restoring the rig…\nStopped: 1 sweep, "),
                  std::string::npos)
            << ReadAll(err);
        // Each line was printed after its reading was committed, the last one included.
        EXPECT_EQ(ReadingCount(log), lines.size());
        ExpectWholeReadings(log, daemon.address());
        EXPECT_EQ(TuningNow(daemon), rig::TuningText(OwnTuning)) << sig;
    }
}

// A stop is seen within the settle wait (here a minute long), and a reader that went away
// ends the run as SIGTERM does; the rig is put back either way.
TEST(CliMonitor, AStopInALongSettleOrAClosedOutputEndsTheRunAtOnce) {
    RigctldProcess daemon;
    TempFolder folder;
    for (const bool closeOutput : {false, true}) {
        TuneOwn(daemon);
        const std::string log = folder.file(closeOutput ? "closed.sqlite" : "settle.sqlite");
        const std::string err = folder.file("err.txt");
        ChildMonitor child(MonitorArgs(daemon, log, "1", closeOutput ? "0" : "60000"), err);
        const auto start = std::chrono::steady_clock::now();
        if (closeOutput) {
            ASSERT_FALSE(child.line().empty()) << ReadAll(err);
            child.closeOutput();
        } else {
            // Said once the rig and the log are open, before the settle wait begins.
            ASSERT_TRUE(WaitForText(err, "Monitoring ")) << ReadAll(err);
            // The rig is the monitor's while it runs: another job is refused, the rig untouched.
            const CliRun sweep = Cli({"rig", "sweep", "--rigctld", daemon.address()});
            EXPECT_EQ(sweep.code, ExitRefused);
            EXPECT_EQ(sweep.err.rfind("rig in use by floorwatch-cli monitor (pid ", 0), 0u)
                << sweep.err;
            child.signal(SIGINT);
        }
        const int status = child.wait();
        // Hang detection only: before, the settle wait ran out first, and a closed output
        // was written to for as long as the monitor ran.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        ASSERT_TRUE(WIFEXITED(status)) << ReadAll(err);
        EXPECT_EQ(WEXITSTATUS(status), ExitOk) << ReadAll(err);
        EXPECT_NE(ReadAll(err).find("stopping: restoring the rig…"), std::string::npos);
        EXPECT_EQ(TuningNow(daemon), rig::TuningText(OwnTuning)) << closeOutput;
    }
}

TEST(CliMonitor, AKillAtAnyMomentLeavesAnIntactLogOfWholeReadings) {
    RigctldProcess daemon;
    TempFolder folder;
    // A failure names the seed; FW_KILL_SEED repeats its rounds.
    const char* given = std::getenv("FW_KILL_SEED");
    const unsigned seed = given ? static_cast<unsigned>(std::stoul(given)) : std::random_device{}();
    SCOPED_TRACE("FW_KILL_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 3; ++round) {
        const std::string log = folder.file("killed" + std::to_string(round) + ".sqlite");
        const auto delay = std::chrono::milliseconds(random() % 1500);
        SCOPED_TRACE("kill after the first reading and " + std::to_string(delay.count()) + " ms");
        ChildMonitor child(MonitorArgs(daemon, log, "2"), folder.file("err.txt"));
        std::vector<std::string> lines = {child.line()};
        ASSERT_FALSE(lines[0].empty());
        std::this_thread::sleep_for(delay);
        child.signal(SIGKILL);
        for (const std::string& l : child.restOfOutput()) lines.push_back(l);
        const int status = child.wait();
        ASSERT_TRUE(WIFSIGNALED(status));
        ExpectWholeReadings(log, daemon.address());
        EXPECT_GE(ReadingCount(log), lines.size());  // a reading is printed after its commit
    }
}

TEST(CliMonitor, RefusesBadOptionsAndAnUnreachableRigWithoutTouchingTheLog) {
    TempFolder folder;
    const std::string log = folder.file("log.sqlite");
    const std::string closed = "127.0.0.1:" + std::to_string(rig::test::FreeLoopbackPort());
    struct Case {
        std::vector<std::string> extra;
        int code;
        std::string message;  // the start of standard error
    };
    const std::vector<Case> cases = {
        {{}, ExitRefused, "rigctld not reachable at " + closed},
        {{"--count", "2", "--for", "1h"},
         ExitUsage,
         "floorwatch-cli: give either --count or --for, not both"},
        {{"--for", "1h30"},
         ExitRefused,
         "--for must be a duration such as 3600, 90m, 8h or 1d12h!"},
        {{"--every", "0"}, ExitRefused, "--every must lie between 1 and 604800!"},
        {{"--bands", "80m,70cm"}, ExitRefused, "unknown band 70cm"},
        {{"--bands", ""}, ExitRefused, "the band list has an empty item"},
        {{"--gain", "x"}, ExitRefused, "Gain must be a real number!"},
        {{"--gain", "5000"}, ExitRefused, "the gain must lie between -60 and 60 dBi, not 5000"},
        {{"--bandwidth", "-100"}, ExitRefused, "the bandwidth must lie between 1 and "},
        {{"--calibration", "20m=1e308"},
         ExitRefused,
         "the calibration of 20m must lie between -60 and 60 dB, not 1e308"},
        {{"--locator", "JO4"}, ExitRefused, "The locator \"JO4\" is no Maidenhead square"},
        {{"--until", "2020-01-01T00:00"}, ExitRefused, "--until 2020-01-01T00:00 has passed"},
        {{"--until", "2030-01-01 00:00"},
         ExitRefused,
         "--until must be a UTC time written YYYY-MM-DDTHH:MM!"},
        {{"--log", ""}, ExitRefused, "--log needs the name of a file"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"monitor", "--rigctld", closed, "--log", log};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, c.code) << c.message;
        EXPECT_EQ(r.err.substr(0, c.message.size()), c.message);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(Exists(log)) << c.message;
    }
}

// The log is checked before the rig: a file that is no log is refused while rigctld is frozen.
TEST(CliMonitor, AnUnusableLogIsRefusedBeforeAFrozenRigIsAsked) {
    TempFolder folder;
    rig::test::RigctldProcess daemon;
    const std::string other = folder.file("other.db");
    WriteAll(other, "some notes, not a station log, long enough to be read as a header.....");
    daemon.pause();
    const CliRun r = Cli({"monitor", "--rigctld", daemon.address(), "--log", other, "--count", "1"});
    daemon.resume();
    EXPECT_EQ(r.code, ExitRefused);
    EXPECT_EQ(r.err, "the log is damaged: " + other + ": file is not a database\n");
}

}  // namespace
}  // namespace fw::cli
