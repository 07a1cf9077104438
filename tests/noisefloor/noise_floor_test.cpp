#include "noisefloor/noise_floor.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "noisefloor/fft_wisdom.h"
#include "noisefloor/gamma_quantile.h"
#include "support/synthetic_iq.h"

namespace fw {
namespace {

using test::Carrier;
using test::SyntheticIq;

double DbToLinear(double db) { return std::pow(10.0, db / 10.0); }

TEST(GammaQuantile, MatchesReferenceValuesForSmallAndLargeShapes) {
    // 0.2-quantiles of Gamma(a, 1); the small ones are half the chi-square table values.
    const struct { double shape, quantile; } cases[] = {
        {1, 0.22314355131420976}, {2, 0.82438830903298461}, {5, 3.0895396280196958},
        {50, 43.972667961375506}, {1000, 973.29303849162107}, {20000, 19880.880599810898},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(GammaQuantile(0.2, c.shape, 1.0), c.quantile, c.quantile * 1e-10) << c.shape;
        EXPECT_NEAR(GammaQuantile(0.2, c.shape, 1.0 / c.shape), c.quantile / c.shape, 1e-12);
    }
    EXPECT_NEAR(RegularizedGammaP(3, 30), 1.0 - 481.0 * std::exp(-30.0), 1e-15);  // continued fraction
}

TEST(NoiseFftLength, IsThePowerOfTwoWithBinsOfAtMost100Hz) {
    const struct { double rate; int length; } cases[] = {
        {2.048e6, 32768}, {204800, 2048}, {204801, 4096}, {6400, 64}, {100, 64},
    };
    for (const auto& c : cases) EXPECT_EQ(NoiseFftLength(c.rate), c.length) << c.rate;
}

struct Scene {
    const char* name;
    double rate;
    int segments;
    int carrierSpacing;  // every n-th used bin carries one; 0 = pure noise
    int occupiedBlock;   // carriers only in this many used bins from the low edge; 0 = all
    double tolerance;
    double occupancy;
};

TEST(NoiseFloorEstimator, FindsTheDensityOfNoiseWithAndWithoutCarriers) {
    const Scene scenes[] = {
        {"pure noise, K = 50", 204800, 50, 0, 0, 0.1, 0.0},
        {"pure noise, K = 400", 102400, 400, 0, 0, 0.1, 0.0},
        // A carrier on every 12th bin fills it and its two neighbours: 25 % of the bins.
        {"carriers spread", 204800, 50, 12, 0, 0.3, 0.25},
        // Carriers on every 3rd bin in a quarter of the span: one busy sub-band.
        {"carriers in one block", 204800, 60, 3, 400, 0.3, 0.25},
    };
    const double n0Db = -123.0;
    const double centre = 7.1e6;
    for (const Scene& s : scenes) {
        const int n = NoiseFftLength(s.rate);
        const double binWidth = s.rate / n;
        const int half = static_cast<int>(0.4 * n);
        std::vector<Carrier> carriers;
        for (int m = -half + 1; s.carrierSpacing && m < half - 1; m += s.carrierSpacing) {
            if (std::abs(m) <= 5 || (s.occupiedBlock && m > -half + s.occupiedBlock)) continue;
            const double above = 20.0 + 20.0 * ((m + 4096) * 7919 % 101) / 100.0;  // 20..40 dB
            carriers.push_back({m * binWidth, test::CarrierPowerForBin(DbToLinear(n0Db), above, s.rate, n)});
        }
        SyntheticIq source(s.rate, DbToLinear(n0Db), carriers, 20261207);
        NoiseFloorEstimator estimator(s.rate, centre);
        // Odd piece sizes: segments fill across pieces.
        for (int left = s.segments * n; left > 0; left -= 1013) {
            estimator.add(source.take(static_cast<std::size_t>(std::min(left, 1013))));
        }
        const auto floor = estimator.result();
        ASSERT_TRUE(floor.ok()) << s.name << ": " << floor.reason();
        EXPECT_NEAR(floor->densityDbfsPerHz, n0Db, s.tolerance) << s.name;
        EXPECT_EQ(floor->segments, s.segments) << s.name;
        EXPECT_EQ(floor->fftLength, n) << s.name;
        EXPECT_NEAR(floor->occupancy, s.occupancy, 0.02) << s.name;
        const auto bins = estimator.usedSpectrum();
        ASSERT_EQ(static_cast<int>(bins.size()), floor->binsUsed) << s.name;
        EXPECT_EQ(floor->binsUsed, 2 * (half - 3)) << s.name;
        EXPECT_DOUBLE_EQ(bins.front().freqHz, centre - half * binWidth) << s.name;
        EXPECT_DOUBLE_EQ(bins.back().freqHz, centre + half * binWidth) << s.name;
        EXPECT_DOUBLE_EQ(bins[bins.size() / 2].freqHz, centre + 4 * binWidth) << s.name;
    }
}

TEST(NoiseFloorEstimator, AFullBandFallsBackToALowerPercentileOrIsRefused) {
    const double rate = 51200, n0Db = -110.0;  // N = 512, 402 used bins, K = 100
    const int n = NoiseFftLength(rate);
    const struct { double occupied, percentile; } cases[] = {{0.4, 20}, {0.8, 5}, {0.9, 5}, {0.97, 0}};
    for (const auto& c : cases) {
        // Carriers 30 dB up on every third bin, each filling three, from the low edge up.
        std::vector<Carrier> carriers;
        const int busy = static_cast<int>(c.occupied * 402);
        for (int m = -203; m < -203 + busy; m += 3) {
            const int bin = m + (m >= -4 ? 7 : 0);  // over the DC guard
            carriers.push_back({bin * rate / n, test::CarrierPowerForBin(DbToLinear(n0Db), 30, rate, n)});
        }
        NoiseFloorEstimator estimator(rate, 0);
        estimator.add(SyntheticIq(rate, DbToLinear(n0Db), carriers, 9).take(static_cast<std::size_t>(n) * 100));
        const auto floor = estimator.result();
        EXPECT_EQ(floor.reason().find("too occupied to measure the noise floor: "),
                  c.percentile == 0 ? 0 : std::string::npos) << c.occupied << ": " << floor.reason();
        // Never more than 1 dB off; occupancy counted against the N0 reported.
        EXPECT_TRUE(!floor || (floor->percentile == c.percentile && std::fabs(floor->densityDbfsPerHz - n0Db) <= 1.0 &&
                               std::fabs(floor->occupancy - c.occupied) <= 0.1)) << c.occupied;
    }
}

TEST(NoiseFloorEstimator, RefusesTooFewSamplesSilenceAndBadRates) {
    NoiseFloorEstimator shortOne(6400, 0);
    shortOne.add(std::vector<std::complex<float>>(63, {0.1f, 0.1f}));
    EXPECT_EQ(shortOne.result().reason(), "Too few samples: one spectrum needs 64 samples.");
    NoiseFloorEstimator silent(6400, 0);
    silent.add(std::vector<std::complex<float>>(64));
    EXPECT_EQ(silent.result().reason(), "The samples are all zero: there is no signal.");
    for (double rate : {0.0, -1.0, std::nan(""), 1e9}) {
        NoiseFloorEstimator bad(rate, 0);
        bad.add(std::vector<std::complex<float>>(100000, {0.1f, 0.0f}));
        EXPECT_FALSE(bad.result().ok()) << rate;
    }
}

TEST(FullScale, CountsPairsAtTheFullScaleOfEachFormat) {
    const std::vector<std::int16_t> cs16 = {0, -32768, 5, 5, 32767, 1, -32767, 32766};
    const std::vector<std::int8_t> cs8 = {-128, 0, 0, 127, -127, 126};
    const std::vector<std::uint8_t> cu8 = {0, 128, 128, 255, 1, 254};
    const std::vector<std::complex<float>> cf32 = {{1.0f, 0}, {0, -1.0f}, {0.9995f, 0}, {0.5f, 0.5f}};
    const struct { const char* name; FullScaleCount count; std::uint64_t at, of; } cases[] = {
        {"cs16", CountFullScale(std::span(cs16)), 2, 4}, {"cs8", CountFullScale(std::span(cs8)), 2, 3},
        {"cu8", CountFullScale(std::span(cu8)), 2, 3}, {"cf32", CountFullScale(std::span(cf32)), 2, 4},
        {"cf32 live", CountFullScale(std::span(cf32), LiveFloatFullScale), 3, 4}};
    for (const auto& c : cases) EXPECT_TRUE(c.count.atFullScale == c.at && c.count.samples == c.of) << c.name;
    // More than one in 100,000 overloads.
    EXPECT_FALSE(IsOverloaded({2, 200000}) || IsOverloaded({0, 0}));
    EXPECT_TRUE(IsOverloaded({3, 200000}) && IsOverloaded({1, 99999}));
}

TEST(NoiseFloorEstimator, RefusesAnOverloadedCaptureUnlessAllowedAndCarriesTheCount) {
    NoiseFloorEstimator estimator(51200, 0);
    estimator.add(SyntheticIq(51200, 1e-8, {}, 3).take(512 * 20));
    estimator.addFullScale({1, 10240});
    EXPECT_EQ(estimator.result().reason(), "overload: 1 of 10240 samples at full scale; lower the gain");
    const auto allowed = estimator.result(true);
    EXPECT_TRUE(allowed.ok() && allowed->overloaded && allowed->fullScaleSamples == 1u) << allowed.reason();
}

TEST(AntennaPowerDbm, AddsBandwidthReferenceAndCalibration) {
    EXPECT_NEAR(AntennaPowerDbm(-150.0, 2700.0, -10.0, 2.0), -150.0 + 34.313637641589871 - 8.0, 1e-12);
    EXPECT_DOUBLE_EQ(AntennaPowerDbm(-100.0, 1.0, 0.0, 0.0), -100.0);
}

namespace fs = std::filesystem;

TEST(FftWisdom, LivesInTheUsersCacheFolder) {
    const struct { const char *cache, *home, *path; } cases[] = {
        {"/x/cache", "/h", "/x/cache/Floorwatch/fftw-wisdom"},
        {"relative", "/h", "/h/.cache/Floorwatch/fftw-wisdom"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        setenv("XDG_CACHE_HOME", c.cache, 1);
        setenv("HOME", c.home, 1);
        EXPECT_EQ(FftWisdomPath(), c.path) << c.cache;
    }
}

// Children started at once, with lengths no other test plans: each keeps the plan of its
// length in one whole file; a folder that cannot be made still gives a working, estimated
// transform; a damaged file is ignored and replaced.
TEST(FftWisdom, ConcurrentRunsKeepOneWholeFileAndAnUnwritableFolderStillTransforms) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("fw_wisdom_" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "blocker") << "a file where the folder should be";
    const struct { fs::path cache; int length; } runs[] = {
        {dir, 80}, {dir, 160}, {dir, 320}, {dir, 640}, {dir / "blocker", 96}};
    std::vector<pid_t> children;
    for (const auto& r : runs) {
        if (const pid_t pid = fork(); pid != 0) {
            children.push_back(pid);
            continue;
        }
        setenv("XDG_CACHE_HOME", r.cache.c_str(), 1);
        FftBuffer in(static_cast<std::size_t>(r.length)), out(static_cast<std::size_t>(r.length));
        for (std::size_t i = 0; i < in.size(); ++i) in.data()[i] = i == 1 ? 1.0f : 0.0f;
        ForwardFft(r.length).run(in, out);  // a delay of one sample turns bin 3 by -3 steps
        _exit(std::abs(out.data()[3] - std::polar(1.0f, -6.2831853f * 3 / r.length)) < 1e-5f ? 0 : 1);
    }
    for (int status = 0; const pid_t pid : children)
        EXPECT_TRUE(waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string wisdom = (dir / "Floorwatch" / "fftw-wisdom").string();
    EXPECT_TRUE(ImportFftWisdom(wisdom));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Floorwatch"), fs::directory_iterator()), 1);
    std::ofstream(wisdom) << "(fftw-3.3 damaged";
    EXPECT_FALSE(ImportFftWisdom(wisdom));
    EXPECT_EQ(SaveFftWisdom(wisdom), "");
    EXPECT_TRUE(ImportFftWisdom(wisdom));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace fw
