#include "libs/process_start.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "support/ordinary_user.h"

namespace fw {
namespace {

namespace fs = std::filesystem;

// The shell here is the started program itself: it checks that each argument arrived whole
// and unread by any shell on the way.
const std::string ArgumentCheck =
    "test \"$#\" = 2 && test \"$1\" = 'a b' && test \"$2\" = '$(touch x); \"y\" *'";

TEST(RunProgram, PassesEachArgumentAsItIsAndReportsHowTheProgramEnded) {
    const struct {
        std::string program;
        std::vector<std::string> arguments;
        int expected;
    } cases[] = {
        {"sh", {"-c", ArgumentCheck, "sh", "a b", "$(touch x); \"y\" *"}, 0},
        {"/bin/sh", {"-c", "exit 3"}, 3},
        {"sh", {"-c", "kill -9 $$"}, ProgramEndedAbnormally},
        {"no-such-program-fw", {}, ProgramNotStarted},
        {"/etc/passwd", {}, ProgramNotStarted},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunProgram(c.program, c.arguments), c.expected) << c.program;
}

TEST(StartProgramDetached, StartsWithoutShellAndLeavesNoChildBehind) {
    test::SharedTempDir dir;
    const std::string record = dir.file("record");
    setenv("FW_TEST_RECORD", record.c_str(), 1);
    ASSERT_TRUE(
        StartProgramDetached("sh", {"-c",
                                    ArgumentCheck + " && echo ok > \"$FW_TEST_RECORD.part\" && mv "
                                                    "\"$FW_TEST_RECORD.part\" \"$FW_TEST_RECORD\"",
                                    "sh", "a b", "$(touch x); \"y\" *"}));
    unsetenv("FW_TEST_RECORD");
    // The started program is no child of ours: nothing is left to wait for.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    for (int i = 0; i < 500 && !fs::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(record);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "ok\n");
    EXPECT_FALSE(fs::exists("x"));
    EXPECT_FALSE(StartProgramDetached("no-such-program-fw", {}));
}

}  // namespace
}  // namespace fw
