#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "info/data_paths.h"
#include "info/help.h"
#include "support/read_file.h"
#include "support/run_program.h"

namespace fw {
namespace {

namespace fs = std::filesystem;
using test::RunProgram;

std::string ReadFile(const fs::path& path) {
    return test::ReadWholeFile(path.string());
}

constexpr const char* AppId = "example.floorwatch.Floorwatch";

struct Output {
    int status;
    std::string text;
};

class DebianPackage : public ::testing::Test {
  protected:
    // cpack makes the package in a folder of its own, so that it never meets another build
    // or test; the package is then unpacked into a root of its own.
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/fw-package-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        const Output arch = Run({"dpkg", "--print-architecture"});
        ASSERT_EQ(arch.status, 0) << arch.text;
        debName = "floorwatch_" FW_PROJECT_VERSION "_" + arch.text.substr(0, arch.text.find('\n')) +
                  ".deb";
        cpack = Run({FW_CPACK_COMMAND, "-G", "DEB", "--config", FW_BUILD_DIR "/CPackConfig.cmake",
                     "-B", (dir / "out").string()});
        if (cpack.status != 0) return;
        unpack = Run({"dpkg-deb", "-x", Deb().string(), (dir / "root").string()});
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }
    void SetUp() override {
        ASSERT_EQ(cpack.status, 0) << cpack.text;
        ASSERT_TRUE(fs::is_regular_file(Deb())) << "no " << debName << " after:\n" << cpack.text;
        ASSERT_EQ(unpack.status, 0) << unpack.text;
    }

    static Output Run(const std::vector<std::string>& command) {
        const fs::path log = dir / "command.log";
        const int status = RunProgram(command, log);
        return {status, ReadFile(log)};
    }
    static fs::path Deb() { return dir / "out" / debName; }
    static fs::path Root() { return dir / "root"; }
    static std::string Field(const char* name) {
        const Output field = Run({"dpkg-deb", "--field", Deb().string(), name});
        EXPECT_EQ(field.status, 0) << field.text;
        return field.text;
    }

    static inline fs::path dir;
    static inline std::string debName;
    static inline Output cpack{-1, {}};
    static inline Output unpack{-1, {}};
};

TEST_F(DebianPackage, ControlFieldsNameThePackageItsMaintainerAndItsDependencies) {
    EXPECT_EQ(Field("Package"), "floorwatch\n");
    EXPECT_EQ(Field("Version"), FW_PROJECT_VERSION "\n");
    EXPECT_EQ(Field("Section"), "hamradio\n");
    EXPECT_EQ(Field("Maintainer"), FW_MAINTAINER "\n");
    const std::string description = Field("Description");
    EXPECT_GT(description.find('\n'), 10u) << "no synopsis: " << description;
    EXPECT_NE(description.find("GPL-3.0-or-later"), std::string::npos) << description;
    EXPECT_EQ(description.find(';'), std::string::npos) << "a CMake list in the text";
    EXPECT_NE(description.find("\n .\n"), std::string::npos) << "no paragraph break";
    // The fonts and xdg-utils by name, the libraries as dpkg-shlibdeps found them.
    const std::string depends = Field("Depends");
    for (const char* package : {"fonts-liberation", "xdg-utils", "libc6", "libqt6widgets6",
                                "libqt6printsupport6", "libpng16-16"}) {
        EXPECT_NE(depends.find(package), std::string::npos) << package << " in " << depends;
    }
}

TEST_F(DebianPackage, FilesLieUnderUsrOwnedByRootWithNoDocumentBesideThePrograms) {
    const Output listing = Run({"dpkg-deb", "--contents", Deb().string()});
    ASSERT_EQ(listing.status, 0) << listing.text;
    std::set<std::string> paths;
    std::istringstream lines(listing.text);
    std::string mode, owner, size, date, time, path;
    while (lines >> mode >> owner >> size >> date >> time >> path) {
        lines.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        EXPECT_EQ(owner, "root/root") << path;
        EXPECT_EQ(path.rfind("./usr/", 0), 0u) << path;
        EXPECT_FALSE(path.starts_with("./usr/bin/") && path.ends_with(".pdf")) << path;
        paths.insert(path);
    }
    const std::string id = AppId;
    for (const std::string& expected :
         {std::string("./usr/bin/floorwatch"), std::string("./usr/bin/floorwatch-cli"),
          std::string("./usr/share/floorwatch/FloorwatchEN.pdf"),
          std::string("./usr/share/floorwatch/FloorwatchDE.pdf"),
          std::string("./usr/share/floorwatch/itu-p372/COEFF01W.txt"),
          std::string("./usr/share/floorwatch/itu-p372/COEFF12W.txt"),
          std::string("./usr/share/floorwatch/itu-p372/SHA256SUMS"),
          "./usr/share/applications/" + id + ".desktop",
          "./usr/share/icons/hicolor/scalable/apps/" + id + ".svg",
          "./usr/share/metainfo/" + id + ".metainfo.xml",
          std::string("./usr/share/man/man1/floorwatch-cli.1.gz"),
          std::string("./usr/share/doc/floorwatch/copyright")}) {
        EXPECT_EQ(paths.count(expected), 1u) << expected << " missing from:\n" << listing.text;
    }
}

TEST_F(DebianPackage, UnpackedProgramsRunAndFindTheirGuidesAndData) {
    const Output help = Run({(Root() / "usr/bin/floorwatch-cli").string(), "--help"});
    EXPECT_EQ(help.status, 0) << help.text;
    EXPECT_EQ(help.text.rfind("Usage: floorwatch-cli COMMAND", 0), 0u) << help.text;
    const Output curves = Run({(Root() / "usr/bin/floorwatch-cli").string(), "curves"});
    EXPECT_EQ(curves.status, 0) << curves.text;
    EXPECT_EQ(curves.text.rfind("freq_hz,", 0), 0u) << curves.text.substr(0, 200);
    // The atmospheric noise needs the month's coefficient file from the unpacked share folder.
    const Output noise = Run({(Root() / "usr/bin/floorwatch-cli").string(), "noise", "--locator",
                              "JO62", "--month", "1", "--utc-hour", "12", "--freq", "3.5"});
    EXPECT_EQ(noise.status, 0) << noise.text;
    const std::size_t row = noise.text.find('\n') + 1;
    EXPECT_EQ(noise.text.rfind("FaA_dB,", 0), 0u) << noise.text;
    EXPECT_TRUE(row < noise.text.size() && std::isdigit(noise.text[row])) << noise.text;

    // The lookups the programs make from their folder, which holds no data of its own here.
    const std::string programDir = (Root() / "usr/bin").string() + "/";
    const fs::path share = Root() / "usr/share/floorwatch";
    for (const auto file : {HelpFileEnglish, HelpFileGerman}) {
        EXPECT_EQ(FindDataFile(programDir, file), (share / file).string());
    }
    for (int month = 1; month <= 12; ++month) {
        char name[32];
        std::snprintf(name, sizeof name, "itu-p372/COEFF%02dW.txt", month);
        EXPECT_EQ(FindDataFile(programDir, name), (share / name).string());
    }
}

TEST_F(DebianPackage, DesktopEntryAndMetainfoPassTheirValidators) {
    const std::string id = AppId;
    const fs::path desktop = Root() / "usr/share/applications" / (id + ".desktop");
    const Output entry = Run({"desktop-file-validate", desktop.string()});
    EXPECT_EQ(entry.status, 0) << entry.text;
    EXPECT_EQ(entry.text, "") << "warnings count as failures";
    // The tree check also looks for the desktop entry that the metainfo names; the file list
    // test makes sure the tree holds the metainfo at all.
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"appstreamcli", "validate", "--no-net",
              (Root() / "usr/share/metainfo" / (id + ".metainfo.xml")).string()},
             {"appstreamcli", "validate-tree", "--no-net", Root().string()}}) {
        const Output check = Run(command);
        EXPECT_EQ(check.status, 0) << command[1] << ":\n" << check.text;
    }
}

}  // namespace
}  // namespace fw
