// Reading the command line: an option's value is taken as it is, help counts only as an
// option of its own.
#include <cstdio>
#include <stdexcept>

#include "cli/cli_args.h"
#include "cli_run.h"

namespace fw::cli {
namespace {

using namespace test;

constexpr const char* UsageStart = "Usage: floorwatch-cli";

TEST(CliArgs, HelpStandingAsAnOptionPrintsTheUsage) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                 {"-h"},
                                                 {"enter", "--help"},
                                                 {"list", "-h"},
                                                 {"render", "--output", "x.png", "-h"},
                                                 {"paint", "--help"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitOk) << args.back();
        EXPECT_EQ(r.out.rfind(UsageStart, 0), 0u) << args.back();
    }
}

// Each case appends with a locator that looks like an option and must be stored as given.
TEST(CliArgs, AValueThatLooksLikeAnOptionIsAValue) {
    const std::string file = TempPath("fw_cli_args_h.txt");
    for (const auto& [args, locator] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"enter", "--locator", "-h", "--append", file}, "-h"},
             {{"enter", "--locator", "--help", "--append", file}, "--help"},
             {{"enter", "--append", file, "--locator=-h"}, "-h"},
             {{"enter", "--datetime", "--band", "--append", file, "--locator", "x"}, "x"}}) {
        std::remove(file.c_str());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitOk) << args[2] << r.err;
        EXPECT_EQ(r.out.find(UsageStart), std::string::npos);
        EXPECT_EQ(ReadAll(file).rfind("Locator: " + locator + "\r\n", 0), 0u) << ReadAll(file);
    }
    // "--band" above was the date/time text, so the entry used the default band.
    EXPECT_NE(ReadAll(file).find("DateTime: --band\r\n"), std::string::npos);
    std::remove(file.c_str());
}

TEST(CliArgs, OptionValuesAreCheckedAsValues) {
    const CliRun bandwidth = Cli({"curves", "--bandwidth", "-h"});
    EXPECT_EQ(bandwidth.code, ExitRefused);
    EXPECT_EQ(bandwidth.err, "Bandwidth must be an integer number!\n");
    // The help word is the file to save to, so the list has no file to load.
    EXPECT_EQ(Cli({"list", "--save", "--help"}).code, ExitUsage);
    const CliRun missingValue = Cli({"render", "--output"});
    EXPECT_EQ(missingValue.code, ExitUsage);
    EXPECT_NE(missingValue.err.find("option --output needs a value"), std::string::npos);
    const CliRun unknown = Cli({"render", "--frobnicate", "1", "--output", "x.png"});
    EXPECT_EQ(unknown.code, ExitUsage);
    EXPECT_NE(unknown.err.find("unknown argument: --frobnicate"), std::string::npos);
}

TEST(CliArgs, TakesOptionsFlagsAndWordsInAnyOrder) {
    ArgList args({"read", "--no-correction", "--size=4x3", "--size", "5x6", "models"});
    EXPECT_EQ(args.takeOption("--size"), "5x6");  // the last one counts
    EXPECT_TRUE(args.takeFlag("models"));
    EXPECT_FALSE(args.takeFlag("-h"));
    EXPECT_TRUE(args.takeFlag("--no-correction"));
    EXPECT_EQ(args.takePositional(), "read");
    EXPECT_NO_THROW(args.expectEmpty());
    // A flag the parser does not know would have eaten the next argument.
    EXPECT_THROW(args.takeFlag("--verbose"), std::logic_error);
}

}  // namespace
}  // namespace fw::cli
