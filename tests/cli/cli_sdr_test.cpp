#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "sdr/sdr_lock.h"
#include "stationlog/sample_log.h"
#include "stationlog/station_log.h"
#include "support/test_sdr.h"

namespace fw::cli::test {
namespace {

const std::vector<std::string> Sdr = {"--sdr", "driver=fwtest,n0_db=-140", "--sdr-rate", "250000",
                                      "--sdr-gain", "10", "--ref", "-30"};

std::vector<std::string> With(std::vector<std::string> args) {
    args.insert(args.end(), Sdr.begin(), Sdr.end());
    return args;
}

TEST(CliSdr, DevicesReadAndSweepGoThroughSoapySdr) {
    fw::test::UseTestSdr();
    const CliRun devices = Cli({"sdr", "devices"});
    EXPECT_EQ(devices.out, "driver=fwtest  Floorwatch test SDR  serial=FW0001\n");

    const std::string file = TempPath("fw_sdr_rows.txt");
    std::remove(file.c_str());
    const CliRun read = Cli(With({"sdr", "read", "--band", "40m", "--gain", "0", "--append", file}));
    ASSERT_EQ(read.code, ExitOk) << read.err;
    EXPECT_EQ(read.err.substr(0, 8), "40m: N0 ") << read.err;
    // -130 dBFS/Hz + 34.3 dB (2700 Hz) - 30 dBm = -125.7 dBm, typed the same way.
    const CliRun typed = Cli({"enter", "--method", "AntPwr", "--band", "40m", "--gain", "0",
                              "--power", WithSeparator("-125.7")});
    EXPECT_EQ(read.out.substr(0, 34), typed.out.substr(typed.out.rfind('\n', typed.out.size() - 2) + 1, 34));
    EXPECT_NE(ReadAll(file).find("AntPwr"), std::string::npos);

    const CliRun sweep = Cli(With({"sdr", "sweep", "--bands", "80m,20m"}));
    ASSERT_EQ(sweep.code, ExitOk) << sweep.err;
    EXPECT_EQ(sweep.out.substr(0, 7), WithSeparator("  3.650"));
    EXPECT_EQ(sweep.out.substr(sweep.out.find('\n') + 1, 7), WithSeparator(" 14.175"));
}

TEST(CliSdr, AGoneDeviceAndBadOptionsAreRefused) {
    fw::test::UseTestSdr();
    const struct { std::vector<std::string> args; int code; std::string err; } cases[] = {
        {{"sdr", "read", "--band", "40m", "--sdr", "driver=fwtest"}, ExitUsage, "--sdr needs --ref"},
        {{"sdr", "read", "--band", "40m", "--ref", "0"}, ExitUsage, "go with --sdr"},
        {With({"sdr", "read"}), ExitUsage, "needs --band B or --freq MHZ"},
        {With({"sdr", "read", "--band", "40m", "--seconds", "0"}), ExitRefused, "--seconds must lie"},
        {With({"sdr", "read", "--band", "41m"}), ExitRefused, "41m"},
        {With({"monitor", "--rigctld", "localhost:4532"}), ExitUsage, "give either --sdr or the rig"},
        {With({"monitor", "--samples", "3"}), ExitUsage, "--samples is for the S-meter"},
        {{"sdr", "read", "--band", "40m", "--sdr", "driver=none", "--ref", "0"}, ExitRefused,
         "SDR not available: no device matches \"driver=none\""},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    setenv("FW_TEST_SDR_GONE", "1", 1);
    const CliRun gone = Cli(With({"sdr", "read", "--band", "40m"}));
    EXPECT_EQ(gone.code, ExitRefused);
    EXPECT_EQ(gone.err.substr(0, 19), "SDR not available: ") << gone.err;
    fw::test::UseTestSdr();
}

// A crashing module, refused stream arguments and an overload each are a refusal, not a crash.
TEST(CliSdr, DriverFailuresAreRefusalsNotCrashes) {
    const std::string rows = TempPath("fw_sdr_overload.txt");
    const struct { std::vector<std::string> args; std::string err; } cases[] = {
        {{"sdr", "devices"}, "device search failed: a SoapySDR module crashed\n"},
        {With({"sdr", "read", "--band", "40m", "--sdr-stream", "wire=CS8"}),
         "SDR not available: the driver failed: unknown stream argument wire\n"},
        {{"sdr", "read", "--band", "40m", "--sdr", "driver=fwtest,n0_db=-60,native=CS8", "--ref",
          "0", "--sdr-rate", "250000", "--append", rows},
         "Sweep stopped at 40m: overload: "},
    };
    for (const auto& c : cases) {
        fw::test::UseTestSdr();
        setenv("FW_TEST_SDR_CRASH_FIND", "1", 1);
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, ExitRefused) << r.err;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
    }
    EXPECT_FALSE(Exists(rows));
}

TEST(CliSdr, MonitorLogsSdrReadingsAndEveryCommandRefusesASecondUserOfTheSdr) {
    fw::test::UseTestSdr();
    fw::test::TempFolder folder;
    const std::string log = folder.file("log.sqlite");
    const std::vector<std::string> monitor =
        With({"monitor", "--log", log, "--bands", "80m,40m", "--count", "1", "--seconds", "0.2"});
    const CliRun run = Cli(monitor);
    ASSERT_EQ(run.code, ExitOk) << run.err;
    EXPECT_NE(run.err.find("40m: N0 "), std::string::npos) << run.err;
    // The log keeps each reading's signature.
    const auto signatures = fw::StationLog::Open(log, fw::StationLog::OpenMode::ReadOnly).signatures(0, INT64_MAX);
    ASSERT_EQ(signatures.size(), 2u);
    EXPECT_EQ(signatures[1].band, "40m");
    EXPECT_EQ(signatures[1].signature.cls, "gaussian");
    EXPECT_NEAR(signatures[1].signature.vdDb, 1.05, 0.1);
    // The same device named by its serial number.
    const sdr::ClaimedSdr held = sdr::ClaimSdr({" serial=FW0001 ", 0, {}, "", 0, 1}, "Floorwatch", {});
    const std::string inUse = "SDR in use by Floorwatch (pid " + std::to_string(getpid()) + ")\n";
    for (const auto& args : {monitor, With({"sdr", "read", "--band", "40m"}),
                             With({"sdr", "sweep", "--bands", "40m"})}) {
        const CliRun refused = Cli(args);
        EXPECT_EQ(refused.code, ExitRefused) << args[0];
        EXPECT_EQ(refused.err, inUse) << args[0];
    }
}

}  // namespace
}  // namespace fw::cli::test
