#include "info/shell_open.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fw {
namespace {

namespace fs = std::filesystem;

// ShellOpen starts a stand-in xdg-open found first on PATH, which records its arguments.
TEST(ShellOpen, HandsTheTargetOverAsOneArgumentWithoutShell) {
    char pattern[] = "/tmp/fw-open-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    const fs::path record = dir / "record";
    {
        std::ofstream script(dir / "xdg-open");
        script << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"" << (dir / "partial").string()
               << "\"\nmv \"" << (dir / "partial").string() << "\" \"" << record.string() << "\"\n";
    }
    fs::permissions(dir / "xdg-open", fs::perms::owner_all);
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    setenv("PATH", (dir.string() + ":" + savedPath).c_str(), 1);

    const std::string target =
        dir.string() + "/Hilfe \"neu\" $(touch " + dir.string() + "/pwned); ls.pdf";
    ShellOpen(target);
    setenv("PATH", savedPath.c_str(), 1);

    // The opener runs detached; wait until it has written its record.
    for (int i = 0; i < 500 && !fs::exists(record); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::stringstream text;
    text << std::ifstream(record).rdbuf();
    EXPECT_EQ(text.str(), "1|" + target + "|");
    EXPECT_FALSE(fs::exists(dir / "pwned"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace fw
