#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "cli/cli_run.h"
#include "support/iq_files.h"
#include "support/synthetic_iq.h"

namespace fw::cli::test {
namespace {

// Noise of -100 dBFS/Hz at 51.2 kS/s: 2700 Hz hold -65.69 dBFS.
std::string NoiseWav(std::optional<std::uint32_t> centreHz) {
    const std::string path = TempPath(centreHz ? "fw_iq_centre.wav" : "fw_iq_nocentre.wav");
    const auto samples = fw::test::SyntheticIq(51200, 1e-10, {}, 11).take(512 * 100);
    fw::test::WriteBytes(path, fw::test::WavBytes(samples, true, 51200, centreHz));
    return path;
}

double PowerOf(const std::string& row) {
    // The antenna power ends the row.
    std::string field = row.substr(row.rfind('|') + 1);
    for (char& c : field)
        if (c == ',') c = '.';
    return std::stod(field);
}

TEST(CliIq, ARecordingGivesTheRowOfATypedAntennaPowerEntry) {
    const std::string wav = NoiseWav(7100000);
    const std::string csv = TempPath("fw_iq_spectrum.csv");
    const std::string viaIq = TempPath("fw_iq_rows.txt");
    const std::string typed = TempPath("fw_iq_typed.txt");
    std::remove(viaIq.c_str());
    std::remove(typed.c_str());
    const CliRun r = Cli({"iq", "noise", wav, "--ref", WithSeparator("-10.5"), "--calibration",
                          "40m=2", "--spectrum", csv, "--append", viaIq});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.err.substr(0, 3), "N0 ") << r.err;
    EXPECT_NE(r.err.find("K 100, N 512, 402 bins"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.substr(0, 8), WithSeparator("  7.100|"));
    // -100 dBFS/Hz + 10*log10(2700) - 10.5 dBm + 2 dB on 40m.
    EXPECT_NEAR(PowerOf(r.out), -100 + 34.314 - 10.5 + 2, 0.1) << r.out;
    EXPECT_EQ(ReadAll(csv).substr(0, 34), "freq_hz,density_dbfs_hz\n7079600.0,");

    // Typed with the power the recording gave, the entry is the same row.
    const CliRun e = Cli({"enter", "--method", "AntPwr", "--freq", WithSeparator("7.1"),
                          "--power", WithSeparator(std::to_string(PowerOf(r.out))), "--append", typed});
    ASSERT_EQ(e.code, ExitOk) << e.err;
    EXPECT_EQ(r.out, e.out.substr(e.out.rfind('\n', e.out.size() - 2) + 1));
    EXPECT_NE(ReadAll(viaIq).find("AntPwr"), std::string::npos);
}

TEST(CliIq, WithoutACentreFrequencyItNeedsFreqAndBadInputIsRefused) {
    const std::string wav = NoiseWav(std::nullopt);
    const struct { std::vector<std::string> args; int code; std::string err; } cases[] = {
        {{"iq", "noise", wav}, ExitRefused, "does not say its centre frequency: give --freq MHZ"},
        {{"iq", "noise", wav, "--freq", "14"}, ExitOk, ""},
        {{"iq", "noise", wav, "--freq", "14", "--ref", "x"}, ExitRefused, "--ref must be a number"},
        {{"iq", "noise", wav, "--freq", "14", "--ref", "400"}, ExitRefused, "no receiver sees"},
        {{"iq", "noise", wav, "--freq", "14", "--ref", "1e308"}, ExitRefused, "--ref must lie between -1000 and 1000 dBm, not 1e308"},
        {{"iq", "noise", wav, "--freq", "14", "--append", TempPath("no/such/folder/x.txt")}, ExitRefused,
         "The data file could not be saved as " + TempPath("no/such/folder/x.txt") + ": " +
             std::strerror(ENOENT)},
        {{"iq", "noise", wav, "--freq", "14", "--samples", "3"}, ExitUsage, "not for a noise"},
        {{"iq", "noise", TempPath("fw_iq_none.wav")}, ExitRefused, std::strerror(ENOENT)},
        {{"iq", "noise"}, ExitUsage, "needs the recording FILE"},
        {{"iq", "listen", wav}, ExitUsage, "iq needs noise"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

TEST(CliIq, EachSigmfCaptureGivesItsOwnRowInCaptureOrder) {
    const std::string base = TempPath("fw_iq_captures");
    fw::test::WriteSigmf(base, fw::test::SyntheticIq(51200, 1e-10, {}, 13).take(3 * 5120), "cf32_le", 51200, 0);
    fw::test::WriteBytes(base + ".sigmf-meta", R"({"global": {"core:datatype": "cf32_le", "core:sample_rate": 51200},
        "captures": [{"core:sample_start": 0, "core:frequency": 14.2e6}, {"core:sample_start": 5120,
        "core:frequency": 7.1e6}, {"core:sample_start": 10240, "core:frequency": 21.1e6}]})");
    const CliRun r = Cli({"iq", "noise", base});
    EXPECT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.out.substr(0, 7) + r.out.substr(r.out.find('\n') + 1, 7) + r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1, 7),
              WithSeparator(" 14.200  7.100 21.100"));
    EXPECT_NEAR(PowerOf(r.out.substr(0, r.out.find('\n'))), -100 + 34.314, 0.3) << r.out;
}

TEST(CliIq, AnOverloadedRecordingOrOneBelowTheConverterIsRefusedAndAppendsNothing) {
    // 204800 samples allow two at full scale.
    const auto samples = fw::test::SyntheticIq(51200, 1e-8, {}, 5).take(512 * 400);
    const std::string base = TempPath("fw_iq_clip"), rows = TempPath("fw_iq_clip_rows.txt");
    const struct { std::string type; int clipped; float scale; std::string extra; int code; std::string err; } cases[] = {
        {"ci16_le", 2, 1, "", ExitOk, "occupancy"},
        {"ci16_le", 3, 1, "", ExitRefused, "overload: 3 of 204800 samples at full scale; lower the gain"},
        {"cu8", 3, 1, "", ExitRefused, "overload: 3 of 204800"},
        {"cf32_le", 5, 1, "", ExitRefused, "overload: 5 of 204800"},
        {"cf32_le", 5, 1, "--allow-overload", ExitOk, "OVERLOADED (5 samples at full scale)"},
        {"cu8", 0, 3e-3f, "", ExitRefused, "below the converter's resolution (every sample is code 127 or 128)"},
    };
    for (const auto& c : cases) {
        std::remove(rows.c_str());
        auto s = samples;
        for (auto& v : s) v *= c.scale;
        for (int k = 0; k < c.clipped; ++k) s[static_cast<std::size_t>(k) * 1000] = {k % 2 ? -1.0f : 1.0f, 0.1f};
        fw::test::WriteSigmf(base, s, c.type, 51200, 7.1e6);
        std::vector<std::string> args = {"iq", "noise", base, "--append", rows};
        if (!c.extra.empty()) args.push_back(c.extra);
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, c.code) << c.type << ' ' << c.clipped << ": " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.type << ": " << r.err;
        EXPECT_EQ(ReadAll(rows).find("AntPwr") != std::string::npos, c.code == ExitOk) << c.type;
    }
}

}  // namespace
}  // namespace fw::cli::test
