// floorwatch-cli bearing scan against a real rotctld with Hamlib's dummy rotator and the
// tests' SDR given a noise source: refusals, and the rotator given back after a stop.
#include <regex>

#include "../rig/rigctld_process.h"
#include "rotator/rotctld_client.h"
#include "child_cli.h"
#include "cli_run.h"
#include "stationlog/log_bearing.h"
#include "support/test_sdr.h"
#include "support/wait_for.h"

namespace fw::cli {
namespace {

using namespace test;
using rig::test::Daemon;
using rig::test::RigctldProcess;

std::vector<std::string> ScanArgs(const std::string& rotator, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"bearing", "scan", "--sdr", "driver=fwtest", "--ref", "0",
                                  "--seconds", "0.1", "--band", "40m", "--rotator", rotator};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(CliBearing, RefusesWhatIsNoScanAndARotatorThatIsNotThere) {
    ::fw::test::UseTestSdr();
    const std::string nowhere = "127.0.0.1:" + std::to_string(rig::test::FreeLoopbackPort());
    const struct {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        {{"bearing", "scan", "--sdr", "driver=fwtest", "--ref", "0", "--band", "40m"}, ExitUsage,
         "bearing scan needs --rotator HOST[:PORT]"},
        {ScanArgs(nowhere, {"--step", "0"}), ExitRefused, "--step"},
        {ScanArgs(nowhere, {"--from", "0", "--to", "10"}), ExitRefused,
         "a scan needs at least three bearings; from 0 to 10 every 10 degrees gives 2"},
        {ScanArgs("[::1"), ExitRefused, "rotctld address \"[::1\": write an IPv6 address as [ADDRESS]:PORT"},
        {ScanArgs(nowhere), ExitRefused, "rotctld not reachable at " + nowhere},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.code, c.code) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(CliBearing, AStopTurnsTheRotatorBackAndASecondLeavesItAndSaysWhere) {
    ::fw::test::UseTestSdr();
    for (const bool twice : {false, true}) {
        SCOPED_TRACE(twice ? "two stops" : "one stop");
        const RigctldProcess daemon(Daemon::Rotator);
        setenv("FW_TEST_SDR_SOURCE", (daemon.address() + ",37").c_str(), 1);
        const std::string err = TempPath("bearing-err.txt");
        const std::string log = TempPath(twice ? "bearing-twice.sqlite" : "bearing-once.sqlite");
        std::remove(log.c_str());
        ChildMonitor child(ScanArgs(daemon.address(), {"--from", "20", "--to", "80", "--log", log}), err);
        EXPECT_EQ(child.line().substr(0, 4), "20°");
        child.signal(SIGINT);
        if (twice) {
            ASSERT_TRUE(::fw::test::WaitForText(err, "Turning back to 0°"));
            child.signal(SIGINT);
        }
        const int status = child.wait();
        unsetenv("FW_TEST_SDR_SOURCE");
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == ExitRefused);
        const std::string said = ReadAll(err);
        EXPECT_NE(said.find("Cancelled after 1 of 7 bearings"), std::string::npos) << said;
        // The stopped scan is kept with its one reading and without an estimate.
        StationLog kept = StationLog::Open(log, StationLog::OpenMode::ReadOnly);
        const std::vector<LogBearingScan> scans = BearingScansIn(kept, {});
        ASSERT_EQ(scans.size(), 1u);
        EXPECT_EQ(scans[0].levels.size(), 1u);
        EXPECT_FALSE(scans[0].estimate);
        EXPECT_EQ(scans[0].rotator, "rotctld at " + daemon.address() + " (Dummy rotator)");
        rotator::RotctldClient client(rotator::ParseRotctldAddress(daemon.address()));
        const double left = client.position({}).azimuthDeg;
        if (!twice) {
            EXPECT_NEAR(left, 0, 2);
            EXPECT_EQ(said.find("not back"), std::string::npos) << said;
            continue;
        }
        EXPECT_GT(left, 2);
        EXPECT_TRUE(std::regex_search(said, std::regex("The rotator is not back: stopped again while "
                                                       "turning back; the rotator is left at [0-9]+° "
                                                       "instead of 0°")))
            << said;
    }
}

}  // namespace
}  // namespace fw::cli
