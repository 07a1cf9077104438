#include "model/noise_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "libs/fw_math.h"

namespace fw {
namespace {

enum { City, Residential, Rural, QuietRural, Galactic };

TEST(LogGrid, TwelveHundredPointsWithTenMegahertzBetween689And690) {
    const auto g = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    ASSERT_EQ(g.size(), 1200u);
    EXPECT_NEAR(g.front(), 100'000.0, 1e-6);
    EXPECT_NEAR(g.back(), 300'000'000.0, 1e-3);
    for (std::size_t i = 1; i < g.size(); ++i)
        ASSERT_NEAR(g[i] / g[i - 1], std::pow(3000.0, 1.0 / 1199.0), 1e-12) << i;
    EXPECT_NEAR(g[689], 9.957e6, 1e3);
    EXPECT_LT(g[689], 10e6);
    EXPECT_NEAR(g[690], 10.023e6, 1e3);
    EXPECT_TRUE(makeLogGrid(1, 1, 10).empty());
}

TEST(ReferenceCurves, MatchTheReferenceTableAt2700Hz) {
    const ReferenceCurves rc = computeReferenceCurves(2700);
    ASSERT_EQ(rc.bandwidthHz, 2700);
    ASSERT_EQ(rc.freqGrid.size(), 1200u);
    ASSERT_EQ(NoiseEnvs.size(), 5u);
    EXPECT_EQ(NoiseEnvs[QuietRural].legend, "Quiet Rural");
    // 100 kHz (index 0) and 300 MHz (index 1199) lie on the grid; two points of each
    // straight line in log f pin its c and d.
    const struct {
        int index;
        double cityFa, cityE, residentialE, ruralE, quietE, galacticFa, galacticE;
    } rows[] = {
        {0, 104.5, 19.9136, 15.6136, 10.3136, -2.3864, -999, -1083.5864},
        {1199, 8.1837, -6.8602, -11.1602, -16.4602, -32.2896, -4.9738, -20.0177},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.index);
        EXPECT_NEAR(rc.refFa[City][r.index], r.cityFa, 1e-4);
        EXPECT_NEAR(rc.refField[City][r.index], r.cityE, 1e-4);
        EXPECT_NEAR(rc.refField[Residential][r.index], r.residentialE, 1e-4);
        EXPECT_NEAR(rc.refField[Rural][r.index], r.ruralE, 1e-4);
        EXPECT_NEAR(rc.refField[QuietRural][r.index], r.quietE, 1e-4);
        EXPECT_NEAR(rc.refFa[Galactic][r.index], r.galacticFa, 1e-4);
        EXPECT_NEAR(rc.refField[Galactic][r.index], r.galacticE, 1e-4);
    }
    // The galactic curve starts at grid point 690.
    for (int d = 0; d <= 689; ++d) ASSERT_EQ(rc.refFa[Galactic][d], UnknownLevel) << d;
    EXPECT_NEAR(rc.refFa[Galactic][690], 52 - 23 * std::log10(rc.freqGrid[690] / 1e6), 1e-9);
}

TEST(ReferenceCurves, BandwidthTermShiftsTheFieldOnly) {
    const ReferenceCurves one = computeReferenceCurves(1);
    const struct {
        int b;
        double term;
    } cases[] = {{2700, 34.3136}, {6000, 37.7815}, {9000, 39.5424}, {10000, 40.0},
                 {0, 0},          {-500, 0},       {INT32_MIN, 0},  {INT32_MAX, 93.3193}};
    for (const auto& c : cases) {
        const ReferenceCurves rc = computeReferenceCurves(c.b);
        EXPECT_EQ(rc.bandwidthHz, c.b);
        for (int e = 0; e < NoiseEnvCount; ++e) {
            EXPECT_EQ(rc.refFa[e], one.refFa[e]) << c.b;
            for (std::size_t d = 0; d < rc.freqGrid.size(); d += 100)
                ASSERT_NEAR(rc.refField[e][d] - one.refField[e][d], c.term, 1e-4) << c.b;
        }
    }
}

}  // namespace
}  // namespace fw
