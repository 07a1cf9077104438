// The data file at the edges of the file system: endless or oversized input, and saves an
// ordinary user may not make.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "measure/user_data_file.h"
#include "support/ordinary_user.h"

namespace fw {
namespace {

using test::SharedTempDir;

TEST(UserDataFileLimit, InputPastTheLimitIsRefusedEndlessInputIncluded) {
    SharedTempDir dir;
    const std::string path = dir.file("data.txt");
    const std::string text =
        "Locator: JO40CQ\r\nDateTime: now\r\n7,1;20;2700;Field;-999;-999;-999;-999\r\n";
    std::ofstream(path, std::ios::binary) << text;
    const struct {
        std::string path;
        std::size_t limit;
        UserDataStatus status;
    } cases[] = {
        {path, text.size(), UserDataStatus::Ok},
        {path, text.size() - 1, UserDataStatus::ConversionError},
        {path, 1, UserDataStatus::ConversionError},
        // No size on disk: read until the limit, then stop.
        {"/dev/zero", 1 << 16, UserDataStatus::ConversionError},
    };
    for (const auto& c : cases) {
        const UserDataLoad load = LoadUserDataFile(c.path, ',', c.limit);
        EXPECT_EQ(load.status, c.status) << c.path << " " << c.limit;
        EXPECT_EQ(load.list.size(), c.status == UserDataStatus::Ok ? 1u : 0u);
    }
}

}  // namespace
}  // namespace fw
