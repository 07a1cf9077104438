// floorwatch-cli rig against a real rigctld with Hamlib's dummy rig (-12 dB over S9).
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <thread>

#include "../rig/rigctld_process.h"
#include "cli_run.h"
#include "support/wait_for.h"
#include "measure/entry.h"
#include "rig/reading.h"
#include "rig/rig_session.h"

namespace fw::cli {
namespace {

using namespace test;
using rig::test::RigctldProcess;

// The dummy rig's reading, with a calibration offset, as the user would type it into the
// antenna-voltage field.
std::string DummyVoltageText(double offsetDb) {
    return rig::ExactNumberText(rig::AntennaVoltageDbuV(-12, offsetDb), SystemDecimalSeparator());
}

std::string LastLine(const std::string& text) {
    const auto end = text.find_last_not_of('\n');
    const auto start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

std::string ClosedAddress() {
    return "127.0.0.1:" + std::to_string(rig::test::FreeLoopbackPort());
}

TEST(CliRig, AReadingEqualsATypedAntennaVoltageEntryOnScreenAndInTheFile) {
    RigctldProcess daemon;
    const std::string viaRig = TempPath("fw_cli_rig_read.txt");
    const std::string typed = TempPath("fw_cli_rig_typed.txt");
    std::remove(viaRig.c_str());
    std::remove(typed.c_str());

    const CliRun r = Cli({"rig", "read", "--rigctld", daemon.address(), "--band", "40m",
                          "--readings", "3", "--settle", "0", "--gain", "0", "--calibration",
                          WithSeparator("80m=4;40m=-1.5"), "--append", viaRig});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    const CliRun e = Cli({"enter", "--method", "AntVol", "--band", "40m", "--gain", "0",
                          "--voltage", DummyVoltageText(-1.5), "--append", typed});
    ASSERT_EQ(e.code, ExitOk) << e.err;
    EXPECT_EQ(r.out, LastLine(e.out) + "\n");
    EXPECT_EQ(ReadAll(viaRig), ReadAll(typed));

    // Without --band or --freq the rig is read where it is tuned (the dummy starts on 145 MHz).
    const CliRun here = Cli({"rig", "read", "--rigctld", daemon.address(), "--readings", "1"});
    ASSERT_EQ(here.code, ExitOk) << here.err;
    EXPECT_EQ(here.out.substr(0, 8), WithSeparator("145.000|"));
}

TEST(CliRig, ASweepPrintsAndAppendsOneRowPerBand) {
    RigctldProcess daemon;
    const std::string file = TempPath("fw_cli_rig_sweep.txt");
    std::remove(file.c_str());
    const CliRun r = Cli({"rig", "sweep", "--rigctld", daemon.address(), "--bands", "20m,MW,2m",
                          "--readings", "1", "--settle", "0", "--append", file});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_TRUE(r.err.empty());
    const CliRun list = Cli({"list", file});
    ASSERT_EQ(list.code, ExitOk) << list.err;
    // The sweep prints in band order; the file is sorted by frequency like every list.
    std::istringstream lines(r.out);
    std::vector<std::string> printed;
    for (std::string line; std::getline(lines, line);) printed.push_back(line);
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(list.out, std::string(UserListHeader1) + "\n" + UserListHeader2 + "\n" + printed[1] +
                            "\n" + printed[0] + "\n" + printed[2] + "\n");
    for (const std::string& line : printed) EXPECT_NE(line.find("AntVol"), std::string::npos);
}

TEST(CliRig, AnUnreachableRigExitsOneNamingTheAddressAndTouchesNoFile) {
    const std::string address = ClosedAddress();
    const std::string missing = TempPath("fw_cli_rig_missing.txt");
    const std::string existing = TempPath("fw_cli_rig_existing.txt");
    std::remove(missing.c_str());
    std::remove(existing.c_str());  // one left by a run under the other separator
    ASSERT_EQ(Cli({"enter", "--append", existing}).code, ExitOk);
    const std::string before = ReadAll(existing);
    for (const char* command : {"read", "sweep"}) {
        for (const std::string& file : {missing, existing}) {
            const CliRun r = Cli({"rig", command, "--rigctld", address, "--append", file});
            EXPECT_EQ(r.code, ExitRefused) << command;
            EXPECT_EQ(r.err, "rigctld not reachable at " + address + "\n");
            EXPECT_TRUE(r.out.empty());
        }
    }
    EXPECT_FALSE(Exists(missing));
    EXPECT_EQ(ReadAll(existing), before);
    // A direct rig on a device that does not exist names the device.
    const CliRun direct = Cli({"rig", "read", "--rig", "1035", "--port", "/dev/fw-no-such-tty"});
    EXPECT_EQ(direct.code, ExitRefused);
    EXPECT_EQ(direct.err.rfind("rig not reachable at /dev/fw-no-such-tty: ", 0), 0u) << direct.err;
}

TEST(CliRig, BadInputIsRefusedBeforeTheRigIsAsked) {
    const std::string address = ClosedAddress();
    using Args = std::vector<std::string>;
    for (const Args& usage : {Args{"rig"}, Args{"rig", "listen", "--rigctld", address},
                              Args{"rig", "read", "--rigctld", address, "--rig", "1"},
                              Args{"rig", "read", "--rigctld", address, "--port", "/dev/ttyS0"},
                              Args{"rig", "sweep", "--rigctld", address, "--band", "80m"},
                              Args{"rig", "models", "--rigctld", address},
                              Args{"rig", "read", "--rigctld", address, "--samples", "3",
                                   "--readings", "3"}}) {
        const CliRun r = Cli(usage);
        EXPECT_EQ(r.code, ExitUsage) << usage.back();
        EXPECT_TRUE(r.out.empty());
    }
    const std::vector<std::pair<Args, std::string>> refusals{
        {{"--rigctld", "localhost:0"},
         "rigctld address \"localhost:0\": the port must be a number from 1 to 65535"},
        {{"--rig", "1", "--rig-conf", "static_data"},
         "rig setting \"static_data\" must be written KEY=VALUE"},
        {{"--rig", "1", "--rig-conf", "no_such_key=1"}, "unknown rig setting \"no_such_key\""},
        {{"--rigctld", address, "--band", "11m"}, "unknown band 11m"},
        {{"--rigctld", address, "--calibration", "40m:1"},
         WithSeparatorName("calibration \"40m:1\" must be written BAND=DB! Use Komma as "
                           "decimal separator!",
                           SystemDecimalSeparator())},
        {{"--rigctld", address, "--gain", "x"},
         WithSeparatorName(GainWarning, SystemDecimalSeparator())},
        {{"--rigctld", address, "--bandwidth", "2,7k"}, BandwidthInformation},
        // Values the entry would take but no receiver has, each with its range.
        {{"--rigctld", address, "--readings", "0"},
         "the samples per reading must lie between 1 and 100, not 0"},
        {{"--rigctld", address, "--samples", "101"},
         "the samples per reading must lie between 1 and 100, not 101"},
        {{"--rigctld", address, "--settle", "60001"},
         "the settle time must lie between 0 and 60000 ms, not 60001"},
        {{"--rigctld", address, "--freq", "0"},
         WithSeparator("the frequency must lie between 0.01 and 300 MHz, not 0")},
        {{"--rigctld", address, "--freq", "-3"},
         WithSeparator("the frequency must lie between 0.01 and 300 MHz, not -3")},
        {{"--rigctld", address, "--freq", "1e9"},
         WithSeparator("the frequency must lie between 0.01 and 300 MHz, not 1e9")},
        {{"--rigctld", address, "--gain", "5000"},
         "the gain must lie between -60 and 60 dBi, not 5000"},
        {{"--rigctld", address, "--gain", "-61"},
         "the gain must lie between -60 and 60 dBi, not -61"},
        // Named as the gain, not as the field strength it would give.
        {{"--rigctld", address, "--gain", "1000"},
         "the gain must lie between -60 and 60 dBi, not 1000"},
        {{"--rigctld", address, "--bandwidth", "0"},
         "the bandwidth must lie between 1 and 2147483647 Hz, not 0"},
        {{"--rigctld", address, "--bandwidth", "-100"},
         "the bandwidth must lie between 1 and 2147483647 Hz, not -100"},
        {{"--rigctld", address, "--calibration", "20m=1e308"},
         "the calibration of 20m must lie between -60 and 60 dB, not 1e308"},
        {{"--rigctld", address, "--calibration", "20m=1;40m=2;20m=3"},
         "calibration names 20m twice"},
    };
    for (const auto& [extra, message] : refusals) {
        Args args{"rig", "read"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitRefused) << message;
        EXPECT_EQ(r.err, message + "\n");
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CliRig, AFailedReadingNamesWhereItWasToBeReadNotASweep) {
    const std::string calls = TempPath("fw_cli_rig_calls.txt");
    RigctldProcess daemon(rig::test::Daemon::Rig, calls);
    // The daemon goes once the rig is tuned to the band, in the settle time before the first
    // sample.
    std::thread killer([&] {
        EXPECT_TRUE(::fw::test::WaitForText(calls, "dummy_set_freq called"));
        daemon.kill();
    });
    const CliRun r = Cli({"rig", "read", "--rigctld", daemon.address(), "--band", "40m",
                          "--settle", "2000", "--samples", "1"});
    killer.join();
    EXPECT_EQ(r.code, ExitRefused);
    EXPECT_EQ(r.err.rfind("The S-meter could not be read at 40m: ", 0), 0u) << r.err;
}

TEST(CliRig, ModelsListsHamlibsRigs) {
    const CliRun r = Cli({"rig", "models"});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "     1  Hamlib  Dummy  (Stable)");
    EXPECT_NE(r.out.find("NET rigctl"), std::string::npos);
}

TEST(CliRig, InterruptingASweepKeepsItsRowsAndPutsTheRigBack) {
    RigctldProcess daemon;
    const std::string file = TempPath("fw_cli_rig_interrupted.txt");
    std::remove(file.c_str());
    {
        rig::RigSession rig(rig::RigConnection{rig::ParseRigctldAddress(daemon.address())});
        rig.setFrequencyHz(3712000);
        rig.setMode({"CW", 0});
    }
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        std::ostringstream err;
        const int code = RunCli({"rig", "sweep", "--rigctld", daemon.address(), "--readings", "2",
                                 "--settle", "200", "--append", file},
                                std::cout, err);
        std::cout.flush();
        _exit(code);
    }
    close(pipeFds[1]);
    // Interrupt once the first row is out.
    std::string firstLine;
    char c;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') firstLine += c;
    kill(child, SIGINT);
    while (read(pipeFds[0], &c, 1) == 1) {
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), ExitRefused);
    EXPECT_EQ(firstLine.substr(0, 8), WithSeparator("  0.136|"));

    const CliRun list = Cli({"list", file});
    ASSERT_EQ(list.code, ExitOk) << list.err;
    const auto rows = std::count(list.out.begin(), list.out.end(), '\n') - 2;
    EXPECT_GE(rows, 1);
    EXPECT_LT(rows, 13);
    rig::RigSession rig(rig::RigConnection{rig::ParseRigctldAddress(daemon.address())});
    EXPECT_EQ(rig.frequencyHz(), 3712000);
    EXPECT_EQ(rig.mode().name, "CW");
}

}  // namespace
}  // namespace fw::cli
