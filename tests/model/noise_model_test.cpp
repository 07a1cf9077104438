#include <gtest/gtest.h>

#include <cmath>

#include "fw_math.h"
#include "noise_model.h"

namespace fw {
namespace {

enum { City, Residential, Rural, QuietRural, Galactic };

TEST(LogGrid, HasTwelveHundredAscendingPointsFromEndToEnd) {
    const auto g = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    ASSERT_EQ(g.size(), 1200u);
    EXPECT_NEAR(g.front(), 100'000.0, 1e-6);
    EXPECT_NEAR(g.back(), 300'000'000.0, 1e-3);
    for (std::size_t i = 1; i < g.size(); ++i) {
        ASSERT_GT(g[i], g[i - 1]);
        ASSERT_NEAR(g[i] / g[i - 1], std::pow(3000.0, 1.0 / 1199.0), 1e-12);
    }
}

TEST(LogGrid, Point689IsTheLastBelowTenMegahertz) {
    const auto g = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    EXPECT_LT(g[689], 10e6);
    EXPECT_NEAR(g[689], 9.957e6, 1e3);
    EXPECT_GT(g[690], 10e6);
    EXPECT_NEAR(g[690], 10.023e6, 1e3);
}

TEST(LogGrid, CountBelowTwoGivesNoGrid) { EXPECT_TRUE(makeLogGrid(1, 1, 10).empty()); }

TEST(NoiseEnvTable, HasTheFiveEnvironmentsInOrder) {
    ASSERT_EQ(NoiseEnvs.size(), 5u);
    EXPECT_EQ(NoiseEnvs[City].legend, "City");
    EXPECT_EQ(NoiseEnvs[Residential].legend, "Residential");
    EXPECT_EQ(NoiseEnvs[Rural].legend, "Rural");
    EXPECT_EQ(NoiseEnvs[QuietRural].legend, "Quiet Rural");
    EXPECT_EQ(NoiseEnvs[Galactic].legend, "Galactic");
}

// Evaluates the model at one frequency through the same grid machinery: a two-point grid.
struct Expected {
    int index;  // grid index
    double cityFa, cityE, residentialE, ruralE, quietE, galacticFa, galacticE;
};

TEST(ReferenceCurves, MatchTheReferenceTableAt2700Hz) {
    const ReferenceCurves rc = computeReferenceCurves(2700);
    ASSERT_EQ(rc.bandwidthHz, 2700);
    ASSERT_EQ(rc.freqGrid.size(), 1200u);
    // 100 kHz (index 0) and 300 MHz (index 1199) lie on the grid.
    const Expected rows[] = {
        {0, 104.5, 19.9136, 15.6136, 10.3136, -2.3864, -999, -1083.5864},
        {1199, 8.1837, -6.8602, -11.1602, -16.4602, -32.2896, -4.9738, -20.0177},
    };
    for (const Expected& r : rows) {
        SCOPED_TRACE(r.index);
        EXPECT_NEAR(rc.refFa[City][r.index], r.cityFa, 1e-4);
        EXPECT_NEAR(rc.refField[City][r.index], r.cityE, 1e-4);
        EXPECT_NEAR(rc.refField[Residential][r.index], r.residentialE, 1e-4);
        EXPECT_NEAR(rc.refField[Rural][r.index], r.ruralE, 1e-4);
        EXPECT_NEAR(rc.refField[QuietRural][r.index], r.quietE, 1e-4);
        EXPECT_NEAR(rc.refFa[Galactic][r.index], r.galacticFa, 1e-4);
        EXPECT_NEAR(rc.refField[Galactic][r.index], r.galacticE, 1e-4);
    }
}

TEST(ReferenceCurves, FollowTheFormulaBetweenGridPoints) {
    // 1 MHz and 10 MHz are not grid points; check the straight-line law through the grid.
    const ReferenceCurves rc = computeReferenceCurves(2700);
    for (std::size_t d = 0; d < rc.freqGrid.size(); d += 97) {
        const double L = std::log10(rc.freqGrid[d] / 1e6);
        EXPECT_NEAR(rc.refFa[City][d], 76.8 - 27.7 * L, 1e-9);
        EXPECT_NEAR(rc.refFa[QuietRural][d], 53.6 - 28.6 * L, 1e-9);
        EXPECT_NEAR(rc.refField[City][d], rc.refFa[City][d] + 20 * L + 34.3136 - 98.9, 1e-4);
    }
}

TEST(ReferenceCurves, GalacticStartsAtGridPoint690) {
    const ReferenceCurves rc = computeReferenceCurves(2700);
    for (int d = 0; d <= 689; ++d) ASSERT_EQ(rc.refFa[Galactic][d], UnknownLevel) << d;
    EXPECT_NEAR(rc.refFa[Galactic][690], 52 - 23 * std::log10(rc.freqGrid[690] / 1e6), 1e-9);
    // The marker flows into the field strength some 1000 dB below the other curves.
    EXPECT_LT(rc.refField[Galactic][0], -1000);
}

TEST(ReferenceCurves, BandwidthTermForCommonBandwidths) {
    const ReferenceCurves one = computeReferenceCurves(1);
    const struct {
        int b;
        double term;
    } cases[] = {{2700, 34.3136}, {6000, 37.7815}, {9000, 39.5424}, {10000, 40.0}};
    for (const auto& c : cases) {
        const ReferenceCurves rc = computeReferenceCurves(c.b);
        EXPECT_NEAR(rc.refField[City][500] - one.refField[City][500], c.term, 1e-4) << c.b;
    }
}

TEST(ReferenceCurves, ZeroAndNegativeBandwidthActAsOneHertz) {
    const ReferenceCurves one = computeReferenceCurves(1);
    for (int b : {0, -500, INT32_MIN}) {
        const ReferenceCurves rc = computeReferenceCurves(b);
        EXPECT_EQ(rc.bandwidthHz, b);
        for (int e = 0; e < NoiseEnvCount; ++e) EXPECT_EQ(rc.refField[e], one.refField[e]) << b;
    }
}

TEST(ReferenceCurves, LargestBandwidthIsAccepted) {
    const ReferenceCurves rc = computeReferenceCurves(INT32_MAX);
    EXPECT_NEAR(rc.refField[City][0] - computeReferenceCurves(1).refField[City][0],
                10 * std::log10(2147483647.0), 1e-9);
}

TEST(ReferenceCurves, ChangingTheBandwidthShiftsFieldOnly) {
    const ReferenceCurves a = computeReferenceCurves(2700);
    const ReferenceCurves b = computeReferenceCurves(10000);
    for (int e = 0; e < NoiseEnvCount; ++e) {
        EXPECT_EQ(a.refFa[e], b.refFa[e]);
        for (std::size_t d = 0; d < a.freqGrid.size(); d += 50)
            EXPECT_NEAR(b.refField[e][d] - a.refField[e][d], 5.6864, 1e-4);
    }
}

}  // namespace
}  // namespace fw
