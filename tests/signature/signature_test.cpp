#include "signature/noise_signature.h"

#include <gtest/gtest.h>

#include <clocale>
#include <random>

#include "signature/burst_rate.h"
#include "signature/comb_lines.h"
#include "signature/signature_text.h"
#include "support/signature_samples.h"

namespace fw {
namespace {

using test::BurstyNoise;
using test::SigN0;
using test::SigRate;
using test::SignatureOf;

const int UseCLocale = (std::setlocale(LC_ALL, "C"), 0);

double BinWidth() { return SigRate / NoiseFftLength(SigRate); }

std::vector<test::Carrier> Carriers(double firstHz, double spacingHz, int count, double aboveDb) {
    std::vector<test::Carrier> carriers;
    const int n = NoiseFftLength(SigRate);
    for (int i = 0; i < count; ++i)
        carriers.push_back({firstHz + i * spacingHz, test::CarrierPowerForBin(SigN0, aboveDb, SigRate, n)});
    return carriers;
}

TEST(NoiseSignature, TellsGaussianBurstyAndCombNoiseApart) {
    const double bin = BinWidth();
    // Carriers on bin centres; the comb steps over the centre, where the used bins leave a gap.
    const struct {
        const char* name;
        std::vector<std::complex<float>> samples;
        double vdLow, vdHigh;
        double burstHz;  // 0: none
        double combHz;   // 0: none
        int combLines;
        const char* cls;
    } cases[] = {
        {"gaussian", BurstyNoise(1.0, 0), 0.95, 1.15, 0, 0, 0, "gaussian"},
        {"gaussian, 0.2 s", BurstyNoise(0.2, 0), 0.95, 1.15, 0, 0, 0, "gaussian"},
        // Three strong carriers are notched out and leave the noise's Vd as it was.
        {"carriers", test::SyntheticIq(SigRate, SigN0, Carriers(-160 * bin, 96 * bin, 3, 45), 3).take(256000),
         0.95, 1.15, 0, 0, 0, "gaussian"},
        {"bursts at 100 Hz", BurstyNoise(1.0, 100), 3.0, 6.0, 100, 0, 0, "impulsive"},
        {"comb", test::SyntheticIq(SigRate, SigN0, Carriers(-1200 * bin, 160 * bin, 15, 20), 5).take(256000),
         0.95, 1.15, 0, 160 * bin, 15, "comb"},
    };
    for (const auto& c : cases) {
        const auto sig = SignatureOf(c.samples);
        ASSERT_TRUE(sig.ok()) << c.name << ": " << sig.reason();
        EXPECT_GE(sig->vdDb, c.vdLow) << c.name;
        EXPECT_LE(sig->vdDb, c.vdHigh) << c.name;
        EXPECT_EQ(sig->burstRateHz.has_value(), c.burstHz > 0) << c.name;
        if (sig->burstRateHz && c.burstHz > 0) {
            EXPECT_NEAR(*sig->burstRateHz, c.burstHz, 0.5) << c.name;
        }
        EXPECT_EQ(sig->comb.has_value(), c.combHz > 0) << c.name;
        if (sig->comb && c.combHz > 0) {
            EXPECT_NEAR(sig->comb->spacingHz, c.combHz, bin) << c.name;
            EXPECT_EQ(sig->comb->lines, c.combLines) << c.name;
        }
        EXPECT_EQ(SignatureClass(sig.value()), c.cls) << c.name;
        EXPECT_TRUE(c.vdHigh > 2 || std::abs(sig->apd[1] - std::exp(-std::sqrt(10.0))) < 0.01) << c.name;  // exp(-a)
    }
}

TEST(NoiseSignature, RefusesTooFewSamplesAndSilence) {
    EXPECT_NE(SignatureOf(BurstyNoise(0.001, 0)).reason().find("Too few samples"), std::string::npos);
    const std::vector<std::complex<float>> silence(8192);
    EXPECT_FALSE(SignatureOf(silence).ok());
    NoiseFloorEstimator unkept(SigRate, 7.1e6);  // transforms not kept
    unkept.add(BurstyNoise(0.1, 0));
    EXPECT_FALSE(ComputeSignature(unkept, unkept.result().value(), unkept.usedSpectrum()).ok());
}

std::vector<SpectrumBin> FlatSpectrum(int bins, double n0Db) {
    std::vector<SpectrumBin> spectrum;
    for (int m = -bins; m <= bins; ++m)
        if (std::abs(m) > 3) spectrum.push_back({1e6 + m * 100.0, n0Db});
    return spectrum;
}

TEST(FindComb, NeedsFiveEvenlySpacedLinesAmongOtherCarriers) {
    const struct {
        const char* name;
        std::vector<int> lineBins;
        int lines;  // 0: no comb
        double spacingHz;
    } cases[] = {
        {"four lines are no comb", {-300, -200, -100, 100}, 0, 0},
        {"five lines, one bin off, among strays", {-400, -300, -250, -201, -100, 13, 100, 333}, 5, 10000},
        {"the gap at the centre is stepped over", {-20, -10, 10, 20, 30}, 5, 1000},
        {"the longer of two combs", {-900, -800, -700, -600, -500, 0 + 50, 110, 170, 230, 290, 350}, 6, 6000},
    };
    for (const auto& c : cases) {
        auto spectrum = FlatSpectrum(1000, -120);
        for (int m : c.lineBins)
            for (auto& b : spectrum)
                if (std::lround((b.freqHz - 1e6) / 100.0) == m) b.densityDbfsPerHz = -100;
        const auto comb = FindComb(spectrum, -120, 100, 1e6);
        ASSERT_EQ(comb.has_value(), c.lines > 0) << c.name;
        if (!comb) continue;
        EXPECT_EQ(comb->lines, c.lines) << c.name;
        EXPECT_NEAR(comb->spacingHz, c.spacingHz, 100) << c.name;
    }
}

TEST(FindBurstRate, NamesTheFundamentalEvenWhenAHarmonicIsStronger) {
    const double rate = 4000;
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0, 0.05);
    std::vector<float> envelope(4000);
    for (std::size_t i = 0; i < envelope.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        envelope[i] = static_cast<float>(1 + 0.1 * std::sin(2 * M_PI * 50 * t) +
                                         0.3 * std::sin(2 * M_PI * 150 * t) + noise(random));
    }
    const auto hz = FindBurstRate(envelope, rate);
    ASSERT_TRUE(hz.has_value());
    EXPECT_NEAR(*hz, 50, 0.5);
    EXPECT_FALSE(FindBurstRate(std::vector<float>(4000, 1.0f), rate).has_value());
}

TEST(SignatureText, ClassHintAndCsv) {
    NoiseSignature sig;
    sig.vdDb = 4.5;
    sig.burstRateHz = 100.2;
    sig.apd = {0.5, 0.25, 0.125, 0, 0};
    sig.comb = NoiseComb{25000, 7, {}};
    EXPECT_EQ(SignatureClass(sig), "impulsive+comb");
    EXPECT_EQ(SignatureHint(sig),
              "bursts at 100 Hz: often arcing, dimmers or a faulty insulator on the mains; lines every "
              "25.0 kHz: often a switch-mode power supply, a solar optimiser or an LED driver");
    EXPECT_EQ(SignatureSummary(sig, ','), "Vd 4,50 dB, bursts 100,2 Hz, comb 7 lines every 25,00 kHz: impulsive+comb");
    EXPECT_EQ(SignatureCsv(sig),
              "vd_db,burst_rate_hz,comb_spacing_khz,comb_lines,class,apd_0db_pct,apd_5db_pct,"
              "apd_10db_pct,apd_15db_pct,apd_20db_pct\n4.500,100.20,25.000,7,impulsive+comb,"
              "50.000,25.000,12.500,0.000,0.000\n");
    sig = NoiseSignature{};
    sig.vdDb = 1.6;
    EXPECT_EQ(SignatureClass(sig), "impulsive");
    EXPECT_NE(SignatureHint(sig).find("without a steady rate"), std::string::npos);
    for (double hz : {37.0, 792.0}) {
        sig.burstRateHz = hz;
        EXPECT_NE(SignatureHint(sig).find("not in step with the mains"), std::string::npos) << hz;
    }
}

}  // namespace
}  // namespace fw
