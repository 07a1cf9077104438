#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/logic/app_state.h"
#include "info/help.h"

extern char** environ;

namespace fw {
namespace {

namespace fs = std::filesystem;

// Runs a program with its arguments, no shell; its exit status, or -1.
int RunProgram(const std::vector<std::string>& command, const std::string& output = {}) {
    std::vector<char*> argv;
    for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!output.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

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

TEST_F(Installation, ProgramsAreInstalledAndExecutable) {
    for (const char* program : {"floorwatch", "floorwatch-cli"}) {
        const fs::path path = prefix / "bin" / program;
        EXPECT_TRUE(fs::is_regular_file(path)) << path;
        EXPECT_EQ(access(path.c_str(), X_OK), 0) << path;
    }
}

TEST_F(Installation, InstalledProgramFindsBothHelpDocuments) {
    // The same lookup the program makes: its own folder plus the document's name.
    const AppState state = StartupAppState((prefix / "bin" / "floorwatch").string());
    std::vector<std::string> opened;
    const Opener record = [&](const std::string& target) { opened.push_back(target); };
    for (const auto file : {HelpFileEnglish, HelpFileGerman}) {
        const InfoMessage message = OpenHelp(state.ProgramDir, file, record);
        EXPECT_EQ(message.kind, InfoMessage::Kind::None) << message.text;
    }
    ASSERT_EQ(opened.size(), 2u);
    const std::string text = (prefix / "help.txt").string();
    for (const auto& [document, title] : {std::pair{opened[0], "Floorwatch User's Guide"},
                                          std::pair{opened[1], "Floorwatch Benutzerhandbuch"}}) {
        EXPECT_EQ(ReadFile(document).rfind("%PDF-", 0), 0u) << document;
        ASSERT_EQ(RunProgram({"pdftotext", "-l", "1", document, text}), 0)
            << "poppler-utils missing?";
        EXPECT_NE(ReadFile(text).find(title), std::string::npos) << document;
    }
}

TEST_F(Installation, DesktopEntryAndIconWhereDesktopsLook) {
    const std::string entry = ReadFile(prefix / "share/applications/floorwatch.desktop");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line : {"\nType=Application\n", "\nName=Floorwatch\n", "\nExec=floorwatch\n",
                             "\nIcon=floorwatch\n", "\nTerminal=false\n"}) {
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    }
    QFile icon(QString::fromStdString(
        (prefix / "share/icons/hicolor/scalable/apps/floorwatch.svg").string()));
    ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&icon);
    ASSERT_TRUE(svg.readNextStartElement());
    EXPECT_EQ(svg.name().toString(), QStringLiteral("svg"));
    while (!svg.atEnd()) svg.readNext();
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
}

}  // namespace
}  // namespace fw
