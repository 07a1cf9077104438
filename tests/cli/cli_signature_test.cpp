#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "support/iq_files.h"
#include "support/signature_samples.h"
#include "support/test_sdr.h"

namespace fw::cli::test {
namespace {

std::string Recording(const std::string& name, const std::vector<std::complex<float>>& samples) {
    const std::string path = TempPath(name);
    fw::test::WriteBytes(path, fw::test::WavBytes(samples, true, fw::test::SigRate, 7100000));
    return path;
}

TEST(CliSignature, ARecordingsNoiseIsClassifiedInTextAndCsv) {
    const std::string gaussian = Recording("fw_sig_gauss.wav", fw::test::BurstyNoise(1.0, 0));
    const std::string bursts = Recording("fw_sig_bursts.wav", fw::test::BurstyNoise(1.0, 100));
    const CliRun g = Cli({"iq", "signature", gaussian, "--format", "csv"});
    ASSERT_EQ(g.code, ExitOk) << g.err;
    EXPECT_NEAR(std::stod(g.out.substr(g.out.find('\n') + 1)), 1.05, 0.1);
    EXPECT_NE(g.out.substr(g.out.find('\n') + 1).find(",,,0,gaussian,3"), std::string::npos) << g.out;  // 36.8 % above N0

    const CliRun b = Cli({"iq", "signature", bursts});
    ASSERT_EQ(b.code, ExitOk) << b.err;
    EXPECT_NE(b.out.find(WithSeparator("bursts 100.0 Hz")), std::string::npos) << b.out;
    EXPECT_NE(b.out.find(": impulsive\n"), std::string::npos) << b.out;
    EXPECT_NE(b.out.find("faulty insulator on the mains"), std::string::npos) << b.out;
    // iq noise gives the same signature beside N0.
    const CliRun n = Cli({"iq", "noise", bursts});
    ASSERT_EQ(n.code, ExitOk) << n.err;
    EXPECT_NE(n.err.find(b.out.substr(0, b.out.find('\n'))), std::string::npos) << n.err;

    EXPECT_EQ(Cli({"iq", "signature", bursts, "--format", "xml"}).code, ExitUsage);
    EXPECT_EQ(Cli({"iq", "signature", TempPath("fw_sig_missing.wav")}).code, ExitRefused);
}

TEST(CliSignature, ALiveCaptureShowsTheCombOfTheTestSdr) {
    fw::test::UseTestSdr();
    // The test SDR's carriers stand 50 bins of its 62.5 Hz apart at 2.048 MS/s.
    const CliRun r = Cli({"sdr", "signature", "--sdr", "driver=fwtest,carriers=9", "--ref", "-10",
                          "--band", "40m", "--seconds", WithSeparator("0.5"), "--format", "csv"});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_NE(r.out.substr(r.out.find('\n') + 1).find(",,3.125,9,comb,"), std::string::npos) << r.out;
    EXPECT_EQ(Cli({"sdr", "signature", "--sdr", "driver=fwtest", "--ref", "-10"}).code, ExitUsage);
}

TEST(CliSignature, EachSigmfCaptureGetsItsOwnSignature) {
    // Gaussian noise, then the same noise with 100 Hz bursts: read as one run, the bursts
    // would colour both.
    const auto gaussian = fw::test::BurstyNoise(1.0, 0), bursts = fw::test::BurstyNoise(1.0, 100);
    std::vector<std::complex<float>> both(gaussian);
    both.insert(both.end(), bursts.begin(), bursts.end());
    const std::string base = TempPath("fw_sig_captures");
    fw::test::WriteSigmf(base, both, "cf32_le", fw::test::SigRate, 7.1e6);
    fw::test::WriteBytes(base + ".sigmf-meta",
                         R"({"global": {"core:datatype": "cf32_le", "core:sample_rate": 256000},
        "captures": [{"core:sample_start": 0, "core:frequency": 7.1e6},
                     {"core:sample_start": 256000, "core:frequency": 14.1e6}]})");
    const CliRun csv = Cli({"iq", "signature", base, "--format", "csv"});
    ASSERT_EQ(csv.code, ExitOk) << csv.err;
    const std::string rows = csv.out.substr(csv.out.find('\n') + 1);
    const std::string second = rows.substr(rows.find('\n') + 1);
    EXPECT_NE(rows.substr(0, rows.find('\n')).find(",gaussian,"), std::string::npos) << csv.out;
    EXPECT_NE(second.find(",impulsive,"), std::string::npos) << csv.out;
    EXPECT_NEAR(std::stod(second.substr(second.find(',') + 1)), 100.0, 0.5) << csv.out;
    const CliRun text = Cli({"iq", "signature", base});
    ASSERT_EQ(text.code, ExitOk) << text.err;
    EXPECT_NE(text.out.find("Capture 2 of 2:\n"), std::string::npos) << text.out;
}

}  // namespace
}  // namespace fw::cli::test
