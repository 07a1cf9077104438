#include "info/data_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fw {
namespace {

namespace fs = std::filesystem;

// A prefix with a program folder "bin/" and the share folder "share/floorwatch/" next to it.
class DataPaths : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/fw-data-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        prefix = pattern;
        fs::create_directories(prefix / "bin");
        fs::create_directories(prefix / "share/floorwatch");
        programDir = (prefix / "bin").string() + "/";
    }
    void TearDown() override { fs::remove_all(prefix); }
    static void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

    fs::path prefix;
    std::string programDir;
};

TEST_F(DataPaths, BesideTheProgramFirstThenTheShareFolderOfItsPrefix) {
    struct Case {
        const char* relativePath;
        bool beside, inShare;
        const char* expected;  // relative to the prefix
    };
    const Case cases[] = {
        {"FloorwatchEN.pdf", true, true, "bin/FloorwatchEN.pdf"},
        {"FloorwatchEN.pdf", false, true, "share/floorwatch/FloorwatchEN.pdf"},
        {"itu-p372/COEFF01W.txt", false, true, "share/floorwatch/itu-p372/COEFF01W.txt"},
        // Found nowhere: the place beside the program, for the message.
        {"FloorwatchDE.pdf", false, false, "bin/FloorwatchDE.pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.relativePath);
        fs::remove_all(prefix / "bin");
        fs::remove_all(prefix / "share");
        fs::create_directories(prefix / "bin/itu-p372");
        fs::create_directories(prefix / "share/floorwatch/itu-p372");
        if (c.beside) Touch(prefix / "bin" / c.relativePath);
        if (c.inShare) Touch(prefix / "share/floorwatch" / c.relativePath);
        EXPECT_EQ(FindDataFile(programDir, c.relativePath), (prefix / c.expected).string());
    }
}

TEST_F(DataPaths, PrefixShareFolderFollowsTheRealParentOfALinkedProgramFolder) {
    // "linked/bin" points at the real "bin": ".." from it is the prefix, not "linked".
    fs::create_directories(prefix / "linked");
    fs::create_directory_symlink(prefix / "bin", prefix / "linked/bin");
    Touch(prefix / "share/floorwatch/FloorwatchEN.pdf");
    const std::string found =
        FindDataFile((prefix / "linked/bin").string() + "/", "FloorwatchEN.pdf");
    EXPECT_TRUE(fs::equivalent(found, prefix / "share/floorwatch/FloorwatchEN.pdf")) << found;
}

TEST_F(DataPaths, WithoutAProgramFolderTheWorkingFolderIsNoPrefix) {
    Touch(prefix / "share/floorwatch/FloorwatchEN.pdf");
    const fs::path before = fs::current_path();
    fs::current_path(prefix / "bin");
    const std::string found = FindDataFile("", "FloorwatchEN.pdf");
    fs::current_path(before);
    EXPECT_EQ(found, "FloorwatchEN.pdf");
}

}  // namespace
}  // namespace fw
