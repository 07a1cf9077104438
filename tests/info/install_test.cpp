#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QXmlStreamReader>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/logic/app_state.h"
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

// The id that names the desktop entry, the icon and the AppStream metainfo.
constexpr const char* AppId = "example.floorwatch.Floorwatch";

class Installation : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/fw-install-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        prefix = pattern;
        installStatus =
            RunProgram({FW_CMAKE_COMMAND, "--install", FW_BUILD_DIR, "--prefix", prefix.string()},
                       (prefix / "install.log").string());
    }
    static void TearDownTestSuite() { fs::remove_all(prefix); }
    void SetUp() override { ASSERT_EQ(installStatus, 0) << ReadFile(prefix / "install.log"); }

    static inline fs::path prefix;
    static inline int installStatus = -1;
};

TEST_F(Installation, ProgramsAreInstalledAndExecutableWithNoDocumentBesideThem) {
    for (const char* program : {"floorwatch", "floorwatch-cli"}) {
        const fs::path path = prefix / "bin" / program;
        EXPECT_TRUE(fs::is_regular_file(path)) << path;
        EXPECT_EQ(access(path.c_str(), X_OK), 0) << path;
    }
    for (const auto& entry : fs::directory_iterator(prefix / "bin")) {
        EXPECT_NE(entry.path().extension(), ".pdf") << entry.path();
    }
}

TEST_F(Installation, InstalledProgramFindsBothHelpDocuments) {
    // The same lookup the program makes: its own folder, then the share folder of its prefix.
    const AppState state = StartupAppState((prefix / "bin" / "floorwatch").string());
    std::vector<std::string> opened;
    const Opener record = [&](const std::string& target) { opened.push_back(target); };
    for (const auto file : {HelpFileEnglish, HelpFileGerman}) {
        const std::optional<Message> failure = OpenHelp(state.ProgramDir, file, record);
        EXPECT_FALSE(failure) << failure.value_or(Message{}).text;
    }
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], (prefix / "share/floorwatch" / HelpFileEnglish).string());
    const std::string text = (prefix / "help.txt").string();
    for (const auto& [document, title] : {std::pair{opened[0], "Floorwatch User's Guide"},
                                          std::pair{opened[1], "Floorwatch Benutzerhandbuch"}}) {
        EXPECT_EQ(ReadFile(document).rfind("%PDF-", 0), 0u) << document;
        ASSERT_EQ(RunProgram({"pdftotext", "-l", "1", document, text}), 0)
            << "poppler-utils missing?";
        EXPECT_NE(ReadFile(text).find(title), std::string::npos) << document;
    }
}

TEST_F(Installation, ProgramFindsEveryItuCoefficientFileUnchanged) {
    const std::string programDir = (prefix / "bin").string() + "/";
    for (int month = 1; month <= 12; ++month) {
        char name[32];
        std::snprintf(name, sizeof name, "itu-p372/COEFF%02dW.txt", month);
        const std::string found = FindDataFile(programDir, name);
        EXPECT_EQ(found, (prefix / "share/floorwatch" / name).string());
        const std::string shipped = ReadFile(fs::path(FW_SOURCE_DIR) / "data" / name);
        EXPECT_FALSE(shipped.empty()) << name;
        EXPECT_EQ(ReadFile(found), shipped) << name;
    }
}

TEST_F(Installation, DesktopEntryIconMetainfoAndLicenceWhereTheSystemLooks) {
    const std::string id = AppId;
    const std::string entry = ReadFile(prefix / "share/applications" / (id + ".desktop"));
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const std::string line : {"\nType=Application\n", "\nName=Floorwatch\n",
                                   "\nExec=floorwatch\n", "\nTerminal=false\n"}) {
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    }
    EXPECT_NE(entry.find("\nIcon=" + id + "\n"), std::string::npos);

    QFile icon(QString::fromStdString(
        (prefix / "share/icons/hicolor/scalable/apps" / (id + ".svg")).string()));
    ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&icon);
    ASSERT_TRUE(svg.readNextStartElement());
    EXPECT_EQ(svg.name().toString(), QStringLiteral("svg"));
    while (!svg.atEnd()) svg.readNext();
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();

    // Every version gets its release entry in the metainfo, the newest first.
    const std::string metainfo = ReadFile(prefix / "share/metainfo" / (id + ".metainfo.xml"));
    const std::size_t release = metainfo.find("<release version=\"");
    EXPECT_NE(release, std::string::npos);
    EXPECT_EQ(metainfo.find("<release version=\"" FW_PROJECT_VERSION "\""), release);
    EXPECT_NE(ReadFile(prefix / "share/doc/floorwatch/copyright").find("License: GPL-3+"),
              std::string::npos);
}

}  // namespace
}  // namespace fw
