// floorwatch-cli noise, curves --atmospheric and the --deciles and --atmospheric render options.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "cli_run.h"
#include "support/time_zone.h"

namespace fw::cli {
namespace {

using namespace test;

const std::string Data = FW_ITU_DATA_DIR;

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream s(line);
    for (std::string f; std::getline(s, f, ',');) fields.push_back(f);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

// The header and the one line of values of a noise run.
std::vector<std::string> ValuesOf(const CliRun& r) {
    const auto newline = r.out.find('\n');
    EXPECT_EQ(r.out.substr(0, newline),
              "FaA_dB,DuA_dB,DlA_dB,SigmaFam_dB,SigmaDu_dB,SigmaDl_dB,FaM_dB,DuM_dB,DlM_dB,"
              "FaG_dB,DuG_dB,DlG_dB,FamT_dB,DuT_dB,DlT_dB");
    const std::string line = r.out.substr(newline + 1);
    EXPECT_EQ(line.back(), '\n');
    return Split(line.substr(0, line.size() - 1));
}

using fw::test::TimeZone;

// The reference rows of the four P.372 environments; the CSV's columns 6..11 are the
// atmospheric figures, 14.. the man-made, galactic and total ones.
TEST(CliNoise, EqualsTheItuReferenceValues) {
    std::ifstream in(FW_P372_CASES);
    std::string line;
    std::getline(in, line);
    int checked = 0;
    while (std::getline(in, line)) {
        const auto ref = Split(line);
        const std::string env = ref[12] == "quietrural" ? "quiet_rural" : ref[12];
        if (env != "city" && env != "residential" && env != "rural" && env != "quiet_rural")
            continue;
        SCOPED_TRACE(line);
        const CliRun r =
            Cli({"noise", "--lat", ref[0], "--lon", ref[1], "--month", ref[2], "--utc-hour", ref[3],
                 "--freq", ref[4], "--env", env, "--itu-data", Data});
        ASSERT_EQ(r.code, ExitOk) << r.err;
        const auto got = ValuesOf(r);
        ASSERT_EQ(got.size(), 15u);
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(std::stod(got[i]), std::stod(ref[6 + i]), 1e-6);
        for (int i = 6; i < 15; ++i) EXPECT_NEAR(std::stod(got[i]), std::stod(ref[8 + i]), 1e-6);
        ++checked;
    }
    EXPECT_EQ(checked, 11);
}

TEST(CliNoise, LocatorAndLocalTimeGiveThePlaceAndUtcHour) {
    const TimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    // JO40CQ at 14:20 CET is the first reference case: 13 h UTC in January, rural.
    const CliRun r = Cli({"noise", "--locator", "jo40cq", "--datetime", "2026-01-15 14:20",
                          "--freq", "7.1", "--itu-data", Data});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    const auto got = ValuesOf(r);
    ASSERT_EQ(got.size(), 15u);
    EXPECT_NEAR(std::stod(got[0]), 36.656460, 1e-6);
    EXPECT_NEAR(std::stod(got[12]), 45.059474, 1e-6);
    // Full precision with a point, as curves prints.
    EXPECT_EQ(got[10], "2");
    EXPECT_EQ(got[7], "9.1999999999999993");
}

TEST(CliNoise, TheProgramFindsTheCoefficientFilesBesideItself) {
    const std::string command =
        std::string(FW_CLI_PATH) + " noise --locator JO40CQ --month 1 --utc-hour 13 --freq 7.1";
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
    const CliRun r{0, out, ""};
    const auto got = ValuesOf(r);
    ASSERT_EQ(got.size(), 15u) << out;
    EXPECT_NEAR(std::stod(got[0]), 36.656460, 1e-6);
}

TEST(CliNoise, AtmosphericFieldsAreEmptyOutside10kHzTo30MHz) {
    const struct {
        const char* freq;
        bool atmospheric;
    } cases[] = {{"0.005", false}, {"0.01", true}, {"30", true}, {"30.5", false}, {"300", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.freq);
        const CliRun r = Cli({"noise", "--lat", "50", "--lon", "8", "--month", "7", "--utc-hour",
                              "22", "--freq", c.freq, "--itu-data", Data});
        ASSERT_EQ(r.code, ExitOk) << r.err;
        const auto got = ValuesOf(r);
        ASSERT_EQ(got.size(), 15u);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(got[i].empty(), !c.atmospheric) << i;
        for (int i = 6; i < 15; ++i) EXPECT_TRUE(std::isfinite(std::stod(got[i]))) << i;
    }
}

TEST(CliNoise, RefusedInputsAreNamedAndPrintNothing) {
    const std::vector<std::string> place{"--lat", "50", "--lon", "8"};
    const std::vector<std::string> time{"--month", "1", "--utc-hour", "13"};
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--lat", "90.5", "--lon", "8"},
         "--lat must be a number of degrees from -90 to 90, not \"90.5\"!"},
        {{"--lat", "50", "--lon", "-180.01"},
         "--lon must be a number of degrees from -180 to 180, not "
         "\"-180.01\"!"},
        {{"--lat", "50,5,1", "--lon", "8"},
         "--lat must be a number of degrees from -90 to 90, not \"50,5,1\"!"},
        {{"--lat", "nan", "--lon", "8"},
         "--lat must be a number of degrees from -90 to 90, not \"nan\"!"},
        {{"--locator", "NoLoc."},
         "--locator: The locator \"NoLoc.\" is no Maidenhead square of 2, 4, 6 or 8 characters "
         "such as JO40CQ."},
        {{"--month", "13", "--utc-hour", "1"}, "--month must lie between 1 and 12!"},
        {{"--month", "0", "--utc-hour", "1"}, "--month must lie between 1 and 12!"},
        {{"--month", "1", "--utc-hour", "24"}, "--utc-hour must lie between 0 and 23!"},
        {{"--datetime", "2026-01-15"},
         "--datetime: The date/time \"2026-01-15\" is not in the form YYYY-MM-DD HH:MM."},
        {{"--freq", "0"},
         "--freq must be a frequency in MHz above 0, not \"0\"!"},
        {{"--freq", "-3.5"},
         "--freq must be a frequency in MHz above 0, not \"-3.5\"!"},
        {{"--env", "suburban"},
         "--env must be city, residential, rural or quiet_rural, not \"suburban\"!"},
        {{"--itu-data", "/nonexistent"},
         "The ITU-R P.372 coefficient file \"/nonexistent/COEFF01W.txt\" was not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        // The case's own options stand before the defaults, which fill in what it leaves out.
        std::vector<std::string> args{"noise"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        auto has = [&](const char* option) {
            return std::find(c.args.begin(), c.args.end(), option) != c.args.end();
        };
        if (!has("--lat") && !has("--locator")) args.insert(args.end(), place.begin(), place.end());
        if (!has("--month") && !has("--datetime"))
            args.insert(args.end(), time.begin(), time.end());
        if (!has("--freq")) args.insert(args.end(), {"--freq", "7.1"});
        if (!has("--itu-data")) args.insert(args.end(), {"--itu-data", Data});
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitRefused);
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_TRUE(r.out.empty());
    }
}

// Coefficients replaced without a list are read with a warning; figures that no atmospheric
// noise reaches are refused naming the file, and nothing is printed.
TEST(CliNoise, UncheckedDataWarnsAndImplausibleFiguresAreRefused) {
    const std::string folder = TempPath("fw-unchecked-itu/");
    std::filesystem::create_directories(folder);
    std::string text = ReadAll(Data + "COEFF01W.txt");
    const std::size_t from = text.find("fakabp(2,6)\n") + 12;
    text.replace(from, 16, "  0.90000000E+30");  // the map's offset in the first time block
    WriteAll(folder + "COEFF01W.txt", text);
    const std::string warning = "The ITU-R P.372 coefficient files in \"" + folder +
                                "\" have no list SHA256SUMS: they are read unchecked.\n";
    const std::vector<std::string> place = {"--lat", "50",         "--lon", "8",          "--month",
                                            "1",     "--utc-hour", "0",     "--itu-data", folder};
    for (std::vector<std::string> args : {std::vector<std::string>{"noise", "--freq", "3.65"},
                                          std::vector<std::string>{"curves", "--atmospheric"}}) {
        args.insert(args.end(), place.begin(), place.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitRefused) << args[0];
        EXPECT_EQ(r.out.substr(0, 100), "");
        EXPECT_EQ(r.err.rfind(warning + "The ITU-R P.372 coefficient file \"" + folder, 0), 0u);
        EXPECT_NE(r.err.find("COEFF01W.txt\" is damaged: it gives "), std::string::npos);
    }
    WriteAll(folder + "COEFF01W.txt", ReadAll(Data + "COEFF01W.txt"));
    const CliRun good = Cli({"noise", "--freq", "3.65", "--month", "1", "--utc-hour", "0", "--lat",
                             "50", "--lon", "8", "--itu-data", folder});
    EXPECT_EQ(good.code, ExitOk);
    EXPECT_EQ(good.err, warning);
}

TEST(CliNoise, MissingOrDoubledChoicesAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--month", "1", "--utc-hour", "1", "--freq", "1"},
        {"--locator", "JO40", "--lat", "1", "--lon", "1", "--month", "1", "--utc-hour", "1",
         "--freq", "1"},
        {"--lat", "1", "--month", "1", "--utc-hour", "1", "--freq", "1"},
        {"--locator", "JO40", "--freq", "1"},
        {"--locator", "JO40", "--month", "1", "--freq", "1"},
        {"--locator", "JO40", "--datetime", "2026-01-01 10:00", "--month", "1", "--utc-hour", "1",
         "--freq", "1"},
        {"--locator", "JO40", "--month", "1", "--utc-hour", "1"},
        {"--locator", "JO40", "--month", "1", "--utc-hour", "1", "--freq", "1", "--bandwidth",
         "2700"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"noise"};
        args.insert(args.end(), c.begin(), c.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitUsage) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CliCurves, AtmosphericColumnsUpTo30MHzInFieldStrengthOfTheBandwidth) {
    const CliRun r = Cli({"curves", "--bandwidth", "10000", "--atmospheric", "--lat", "50", "--lon",
                          "8", "--month", "1", "--utc-hour", "13", "--itu-data", Data});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    std::stringstream lines(r.out);
    std::string header;
    std::getline(lines, header);
    EXPECT_EQ(header.substr(header.find(",atmospheric")),
              ",atmospheric_fa,atmospheric_fa_upper,atmospheric_fa_lower,atmospheric_e,"
              "atmospheric_e_upper,atmospheric_e_lower");
    int rows = 0, withAtmosphere = 0;
    for (std::string line; std::getline(lines, line); ++rows) {
        const auto f = Split(line);
        ASSERT_EQ(f.size(), 17u) << line;
        const double hz = std::stod(f[0]);
        if (hz > 30e6) {
            for (int i = 11; i < 17; ++i) ASSERT_TRUE(f[i].empty()) << line;
            continue;
        }
        ++withAtmosphere;
        const double fa = std::stod(f[11]), upper = std::stod(f[12]), lower = std::stod(f[13]);
        EXPECT_GT(upper, fa);
        EXPECT_LT(lower, fa);
        // E = Fa + 20 log10(f / MHz) + 10 log10(10000) - 98.9, as the environments' columns.
        const double toField = 20 * std::log10(hz / 1e6) + 40 - 98.9;
        EXPECT_NEAR(std::stod(f[14]), fa + toField, 1e-9);
        EXPECT_NEAR(std::stod(f[15]), upper + toField, 1e-9);
        EXPECT_NEAR(std::stod(f[16]), lower + toField, 1e-9);
        EXPECT_NEAR(std::stod(f[2]), std::stod(f[1]) + toField, 1e-9);
    }
    EXPECT_EQ(rows, 1200);
    EXPECT_EQ(withAtmosphere, 855);  // 100 kHz to 29.97 MHz

    // The same median as the noise command at the grid's first frequency.
    const CliRun at100k = Cli({"noise", "--lat", "50", "--lon", "8", "--month", "1", "--utc-hour",
                               "13", "--freq", "0.1", "--itu-data", Data});
    std::stringstream again(r.out);
    std::getline(again, header);
    std::string first;
    std::getline(again, first);
    EXPECT_NEAR(std::stod(Split(first)[11]), std::stod(ValuesOf(at100k)[0]), 1e-9);

    // Place and time belong to --atmospheric.
    EXPECT_EQ(Cli({"curves", "--locator", "JO40CQ"}).code, ExitUsage);
}

TEST(CliRender, LayersChangeThePictureAndAnUnknownPlaceDrawsWithout) {
    const TimeZone zone("UTC0");
    const std::string plain = TempPath("fw_layers_plain.bmp");
    const std::string layered = TempPath("fw_layers_on.bmp");
    const std::string unknown = TempPath("fw_layers_unknown.bmp");
    const std::vector<std::string> texts{"--locator", "JO40CQ", "--datetime", "2026-01-15 13:20"};
    auto render = [&](const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args{"render", "--output", out, "--itu-data", Data};
        args.insert(args.end(), extra.begin(), extra.end());
        return Cli(args);
    };
    ASSERT_EQ(render(plain, texts).code, ExitOk);
    std::vector<std::string> on = texts;
    on.insert(on.end(), {"--deciles", "--atmospheric"});
    const CliRun withLayers = render(layered, on);
    ASSERT_EQ(withLayers.code, ExitOk) << withLayers.err;
    EXPECT_TRUE(withLayers.err.empty());
    EXPECT_NE(ReadAll(layered), ReadAll(plain));

    // "NoLoc." has no place: the diagram is drawn without the layer and says why.
    const CliRun noPlace =
        render(unknown, {"--locator", "NoLoc.", "--datetime", "2026-01-15 13:20", "--atmospheric"});
    EXPECT_EQ(noPlace.code, ExitOk);
    EXPECT_EQ(noPlace.err,
              "No atmospheric noise: The locator \"NoLoc.\" is no Maidenhead square of 2, 4, 6 "
              "or 8 characters such as JO40CQ.\n");
    ASSERT_EQ(render(plain, {"--locator", "NoLoc.", "--datetime", "2026-01-15 13:20"}).code,
              ExitOk);
    EXPECT_EQ(ReadAll(unknown), ReadAll(plain));
}

}  // namespace
}  // namespace fw::cli
