// The data file at the edges of the file system: endless or oversized input, and saves an
// ordinary user may not make.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "measure/user_data_file.h"
#include "support/ordinary_user.h"
#include "support/read_file.h"

namespace fw {
namespace {

using test::RunAsOrdinaryUser;
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

// As an ordinary user, a read-only file in a writable folder and any file in a read-only
// folder are refused with a message naming the file and the system's text, and the file keeps
// its content.
TEST(UserDataFileSave, ReadOnlyFileOrFolderIsRefusedAndKeepsTheOldFile) {
    SharedTempDir dir;
    const std::string locked = dir.file("locked.txt");
    const std::string sealedFolder = dir.file("sealed");
    const std::string sealed = sealedFolder + "/data.txt";
    ASSERT_FALSE(SaveUserDataFile(locked, "OLD", "D", MeasList(), ','));
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    ASSERT_EQ(mkdir(sealedFolder.c_str(), 0777), 0);
    ASSERT_FALSE(SaveUserDataFile(sealed, "OLD", "D", MeasList(), ','));
    ASSERT_EQ(chmod(sealed.c_str(), 0666), 0);
    ASSERT_EQ(chmod(sealedFolder.c_str(), 0555), 0);
    const std::string before = test::ReadWholeFile(locked);

    const std::string report = RunAsOrdinaryUser([&] {
        std::string wrong;
        for (const std::string& path : {locked, sealed}) {
            const auto failure = SaveUserDataFile(path, "NEW", "D", MeasList(), ',');
            const std::string named =
                "Datei \"" + path + "\" kann nicht erstellt werden. " + std::strerror(EACCES);
            if (!failure || failure->text != named) wrong += path + "; ";
        }
        return wrong;
    });
    EXPECT_EQ(report, "");
    EXPECT_EQ(test::ReadWholeFile(locked), before);
    EXPECT_EQ(test::ReadWholeFile(sealed), before);
}

}  // namespace
}  // namespace fw
