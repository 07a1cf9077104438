// The guides' command-line section and floorwatch-cli --help name the same commands and
// options, so that neither can change without the other.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "rig/plan_limits.h"
#include "rig/reading.h"

namespace fw::cli {
namespace {

std::string HelpText() {
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--help"}, out, err), ExitOk);
    return out.str();
}

std::string ReadGuide(const std::string& name) {
    std::ifstream in(std::string(FW_GUIDE_DIR) + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The guide's command-line section, from its heading to the next section, with every run of
// white space as one space.
std::string CommandLineSection(const std::string& html) {
    const auto begin = html.find("<h2 id=\"command-line\">");
    if (begin == std::string::npos) return {};
    auto end = html.find("<h2", begin + 1);
    if (end == std::string::npos) end = html.find("</body>", begin);
    const std::string section = html.substr(begin, end - begin);
    return std::regex_replace(section, std::regex(R"(\s+)"), " ");
}

std::set<std::string> Options(const std::string& text) {
    static const std::regex option(R"(--[a-z][a-z0-9-]*)");
    std::set<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it)
        found.insert(it->str());
    return found;
}

// The commands of the help's "Commands:" list: "curves", "rig read", "log to-list", …
std::vector<std::string> Commands(const std::string& help) {
    static const std::regex command(R"(^  ([a-z]+)( [a-z][a-z-]*)?(\s|$))");
    std::vector<std::string> found;
    std::istringstream lines(help.substr(help.find("Commands:\n")));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && !line.empty()) {
        std::smatch m;
        if (std::regex_search(line, m, command)) found.push_back(m[1].str() + m[2].str());
    }
    return found;
}

TEST(GuideCommandLine, BothGuidesNameEveryCommandAndOptionOfTheHelpAndNoOther) {
    const std::string help = HelpText();
    const std::vector<std::string> commands = Commands(help);
    const std::set<std::string> helpOptions = Options(help);
    ASSERT_GE(commands.size(), 9u);
    ASSERT_TRUE(helpOptions.count("--help"));

    for (const char* guide : {"FloorwatchEN.html", "FloorwatchDE.html"}) {
        SCOPED_TRACE(guide);
        const std::string html = ReadGuide(guide);
        const std::string section = CommandLineSection(html);
        ASSERT_FALSE(section.empty()) << "no <h2 id=\"command-line\"> section";
        for (const std::string& c : commands)
            EXPECT_NE(section.find("<tt>" + c), std::string::npos) << "command " << c;
        const std::set<std::string> sectionOptions = Options(section);
        for (const std::string& o : helpOptions)
            EXPECT_TRUE(sectionOptions.count(o)) << "option " << o << " missing";
        // Anywhere in the guide, an option that the program does not know is an error.
        for (const std::string& o : Options(html))
            EXPECT_TRUE(helpOptions.count(o)) << "option " << o << " is not in --help";
    }
}

// The ranges the guides give for the reading plan are the ones the program checks.
TEST(GuideCommandLine, BothGuidesStateThePlanLimits) {
    const auto range = [](const auto& limit, char sep) {
        return rig::ExactNumberText(limit.low, sep) + "&ndash;" +
               rig::ExactNumberText(limit.high, sep);
    };
    for (const auto& [guide, sep] : {std::pair{"FloorwatchEN.html", '.'}, {"FloorwatchDE.html", ','}}) {
        const std::string html = std::regex_replace(ReadGuide(guide), std::regex(R"(\s+)"), " ");
        for (const std::string& r : {"(" + range(rig::SampleLimits, sep) + ",",
                                     "(" + range(rig::SettleMsLimits, sep) + " ms,",
                                     "(" + range(rig::GainDbLimits, sep) + " dBi)",
                                     "(" + range(rig::CalibrationDbLimits, sep) + " dB ",
                                     "(" + range(rig::FrequencyMHzLimits, sep) + " MHz)"})
            EXPECT_NE(html.find(r), std::string::npos) << guide << ": " << r;
    }
}

}  // namespace
}  // namespace fw::cli
