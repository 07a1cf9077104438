// Atmospheric, galactic, man-made and total noise against the values of the ITU-R reference
// software (p372_visible_cases.csv) and the intermediate values of its worked example.
#include "model/atmospheric_noise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "model/atmospheric_layer.h"
#include "model/noise_total.h"

namespace fw {
namespace {

constexpr double Tolerance = 1e-6;  // dB; the reference values carry six decimals

const ItuNoiseCoefficients& Month(int month) {
    static std::map<int, ItuNoiseCoefficients> loaded;
    auto it = loaded.find(month);
    if (it == loaded.end()) {
        const auto c =
            LoadItuCoefficients(std::string(FW_ITU_DATA_DIR) + ItuCoefficientFileName(month));
        if (!c) throw std::runtime_error(c.reason());
        it = loaded.emplace(month, c.value()).first;
    }
    return it->second;
}

struct ReferenceCase {
    double lat, lon;
    int month, utcHour;
    double freq;
    int localHour;
    double faA, duA, dlA, sigmaFam, sigmaDu, sigmaDl;
    std::string env;
    double faM, duM, dlM, faG, duG, dlG, famT, duT, dlT;
};

std::vector<ReferenceCase> ReferenceCases() {
    std::ifstream in(FW_P372_CASES);
    std::string line;
    std::getline(in, line);  // header
    std::vector<ReferenceCase> cases;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream row(line);
        for (std::string field; std::getline(row, field, ',');) f.push_back(field);
        if (f.size() != 23) throw std::runtime_error("bad reference row: " + line);
        auto d = [&](int i) { return std::stod(f[i]); };
        cases.push_back({d(0),
                         d(1),
                         std::stoi(f[2]),
                         std::stoi(f[3]),
                         d(4),
                         std::stoi(f[5]),
                         d(6),
                         d(7),
                         d(8),
                         d(9),
                         d(10),
                         d(11),
                         f[12],
                         d(14),
                         d(15),
                         d(16),
                         d(17),
                         d(18),
                         d(19),
                         d(20),
                         d(21),
                         d(22)});
    }
    return cases;
}

std::optional<NoiseEnvId> P372Environment(const std::string& name) {
    if (name == "city") return NoiseEnvId::City;
    if (name == "residential") return NoiseEnvId::Residential;
    if (name == "rural") return NoiseEnvId::Rural;
    if (name == "quietrural") return NoiseEnvId::QuietRural;
    return std::nullopt;  // the reference software's "noisy", "quiet" and user-given level
}

TEST(ReferenceCases, AtmosphericAndGalacticOfEveryCase) {
    const auto cases = ReferenceCases();
    ASSERT_EQ(cases.size(), 14u);
    for (const ReferenceCase& r : cases) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon << ", month " << r.month
                                        << ", hour " << r.utcHour << ", " << r.freq << " MHz");
        const ItuNoiseCoefficients& c = Month(r.month);
        const AtmosphericSite site = MakeAtmosphericSite(c, r.lat, r.lon, r.utcHour);
        EXPECT_EQ(site.timing.localHour, r.localHour);
        ASSERT_TRUE(InAtmosphericRange(r.freq));
        const AtmosphericNoise a = AtmosphericNoiseAt(c, site, r.freq);
        EXPECT_NEAR(a.fa, r.faA, Tolerance);
        EXPECT_NEAR(a.du, r.duA, Tolerance);
        EXPECT_NEAR(a.dl, r.dlA, Tolerance);
        EXPECT_NEAR(a.sigmaFam, r.sigmaFam, Tolerance);
        EXPECT_NEAR(a.sigmaDu, r.sigmaDu, Tolerance);
        EXPECT_NEAR(a.sigmaDl, r.sigmaDl, Tolerance);
        const NoiseComponent g = GalacticNoise(r.freq);
        EXPECT_NEAR(g.fa, r.faG, Tolerance);
        EXPECT_EQ(g.du, r.duG);
        EXPECT_EQ(g.dl, r.dlG);
    }
}

TEST(ReferenceCases, ManMadeAndTotalOfTheP372Environments) {
    int checked = 0;
    for (const ReferenceCase& r : ReferenceCases()) {
        const auto env = P372Environment(r.env);
        if (!env) continue;
        SCOPED_TRACE(testing::Message() << r.env << " at " << r.lat << ", " << r.lon);
        const ItuNoiseCoefficients& c = Month(r.month);
        const NoiseBreakdown b =
            ComputeNoiseBreakdown(c, MakeAtmosphericSite(c, r.lat, r.lon, r.utcHour), *env, r.freq);
        ASSERT_TRUE(b.atmospheric.has_value());
        EXPECT_NEAR(b.manMade.fa, r.faM, Tolerance);
        EXPECT_EQ(b.manMade.du, r.duM);
        EXPECT_EQ(b.manMade.dl, r.dlM);
        EXPECT_NEAR(b.total.fam, r.famT, Tolerance);
        EXPECT_NEAR(b.total.du, r.duT, Tolerance);
        EXPECT_NEAR(b.total.dl, r.dlT, Tolerance);
        ++checked;
    }
    EXPECT_EQ(checked, 11);
}

// The combination alone, from the reference components of every case: this includes the
// cases whose decile deviation exceeds 12 dB and so take the other sigma formula.
TEST(ReferenceCases, CombinationOfTheReferenceComponents) {
    for (const ReferenceCase& r : ReferenceCases()) {
        SCOPED_TRACE(r.env);
        const TotalNoise t = CombineNoise(NoiseComponent{r.faA, r.duA, r.dlA},
                                          {r.faG, r.duG, r.dlG}, {r.faM, r.duM, r.dlM});
        EXPECT_NEAR(t.fam, r.famT, Tolerance);
        EXPECT_NEAR(t.du, r.duT, Tolerance);
        EXPECT_NEAR(t.dl, r.dlT, Tolerance);
    }
}

TEST(WorkedExample, CoefficientSpotChecks) {
    const ItuNoiseCoefficients& c = Month(1);
    const struct {
        double got, want;
    } values[] = {
        {c.p[0], 8.4990568},           {c.p[464 * 3], 2.8809407},
        {c.p[464 * 3 + 1], 8.1051846}, {c.p[464 * 3 + 29 * 15], 21.524467},
        {c.ab[6], 11.451596},          {c.ab[7], 7.8154163},
        {c.ab[8], 24.767385},          {c.ab[9], 6.145525},
        {c.f[14 * 3], -0.00077358633}, {c.f[14 * 3 + 13], 2.2940874},
        {c.d[5 * 3], -1.6651335},      {c.d[5 * 3 + 4], 9.340826},
        {c.d[60], 0.37486929},         {c.d[60 + 4], 8.277667},
        {c.d[240 + 15], -1.0996246},   {c.d[240 + 15 + 4], 4.6634741},
    };
    for (const auto& v : values) EXPECT_DOUBLE_EQ(v.got, v.want);
}

TEST(WorkedExample, TimeBlocksMapAndBlockValues) {
    const ItuNoiseCoefficients& c = Month(1);
    const double lat = 50.6875, lon = 8.208333;
    const AtmosphericTiming t = MakeAtmosphericTiming(lat, lon, 13);
    EXPECT_EQ(t.localHour, 13);
    EXPECT_EQ(t.block0, 3);
    EXPECT_EQ(t.block1, 4);
    EXPECT_EQ(t.weight, 0.25);
    EXPECT_EQ(t.row0, 3);
    EXPECT_EQ(t.row1, 4);

    const struct {
        int block;
        double fam1, fa, du, dl, sigmaDu, sigmaDl, sigmaFam;
    } blocks[] = {
        {3, 31.893612, 28.305852, 8.495793, 7.157702, 3.416933, 2.513418, 5.642588},
        {4, 58.159042, 42.172678, 9.216544, 8.333157, 2.809300, 2.551750, 3.912841},
    };
    for (const auto& b : blocks) {
        SCOPED_TRACE(b.block);
        const double fam1 = MapMedian1MHz(c, b.block, lat, lon);
        EXPECT_NEAR(fam1, b.fam1, Tolerance);
        const AtmosphericNoise n = BlockNoise(c, b.block, fam1, 7.1);
        EXPECT_NEAR(n.fa, b.fa, Tolerance);
        EXPECT_NEAR(n.du, b.du, Tolerance);
        EXPECT_NEAR(n.dl, b.dl, Tolerance);
        EXPECT_NEAR(n.sigmaDu, b.sigmaDu, Tolerance);
        EXPECT_NEAR(n.sigmaDl, b.sigmaDl, Tolerance);
        EXPECT_NEAR(n.sigmaFam, b.sigmaFam, Tolerance);
    }
    // Power-domain interpolation: 10 log10(676.9946 + (16491.79 - 676.9946) * 0.25).
    const AtmosphericNoise mixed = InterpolateBlocks({28.305852}, {42.172678}, 0.25);
    EXPECT_NEAR(mixed.fa, 36.656460, 1e-5);
}

TEST(TimeBlocks, LocalHourWrapsAndLongitudeStepsTruncateTowardsZero) {
    const struct {
        double lat, lon;
        int utcHour, localHour, block0, block1, row0;
        double weight;
    } cases[] = {
        {10, 14.99, 23, 23, 5, 0, 5, 0.75},  // block 20-24 LT is followed by 00-04
        {10, -14.99, 0, 0, 0, 1, 0, 0.0},    // -15 < lon < 15 counts as Greenwich
        {10, -15.0, 0, 23, 5, 0, 5, 0.75},    {10, 180.0, 12, 0, 0, 1, 0, 0.0},
        {-10, -180.0, 5, 17, 4, 5, 10, 0.25},  // southern rows are 6 further on
        {0, 45.0, 22, 1, 0, 1, 0, 0.25},       // the equator counts as northern
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon << ", hour " << c.utcHour);
        const AtmosphericTiming t = MakeAtmosphericTiming(c.lat, c.lon, c.utcHour);
        EXPECT_EQ(t.localHour, c.localHour);
        EXPECT_EQ(t.block0, c.block0);
        EXPECT_EQ(t.block1, c.block1);
        EXPECT_EQ(t.row0, c.row0);
        EXPECT_EQ(t.weight, c.weight);
    }
}

TEST(FrequencyRange, AtmosphericOnlyFrom10kHzTo30MHzWhileTheTotalStaysFinite) {
    const ItuNoiseCoefficients& c = Month(1);
    const AtmosphericSite site = MakeAtmosphericSite(c, 50.6875, 8.208333, 13);
    const struct {
        double mhz;
        bool atmospheric;
    } cases[] = {{0.0099, false}, {0.01, true}, {7.1, true},  {30.0, true},
                 {30.001, false}, {70, false},  {200, false}, {300, false}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.mhz);
        EXPECT_EQ(InAtmosphericRange(k.mhz), k.atmospheric);
        const NoiseBreakdown b = ComputeNoiseBreakdown(c, site, NoiseEnvId::Rural, k.mhz);
        EXPECT_EQ(b.atmospheric.has_value(), k.atmospheric);
        ASSERT_TRUE(std::isfinite(b.total.fam) && std::isfinite(b.total.du) &&
                    std::isfinite(b.total.dl));
        // The total lies at or above its strongest component and within a few dB of it.
        const double strongest =
            std::max({b.manMade.fa, b.galactic.fa, k.atmospheric ? b.atmospheric->fa : -1e9});
        EXPECT_GE(b.total.fam, strongest - 1e-9);
        EXPECT_LT(b.total.fam, strongest + 6);
    }
    // Above 30 MHz the total is man-made and galactic noise combined by the same method.
    const NoiseBreakdown at70 = ComputeNoiseBreakdown(c, site, NoiseEnvId::City, 70);
    const TotalNoise two = CombineNoise(std::nullopt, at70.galactic, at70.manMade);
    EXPECT_EQ(at70.total.fam, two.fam);
    EXPECT_EQ(at70.total.du, two.du);
}

TEST(Deciles, ManMadeAndGalacticDeviations) {
    const struct {
        NoiseEnvId env;
        double upper, lower;
    } cases[] = {{NoiseEnvId::City, 11.0, 6.7},
                 {NoiseEnvId::Residential, 10.6, 5.3},
                 {NoiseEnvId::Rural, 9.2, 4.6},
                 {NoiseEnvId::QuietRural, 9.2, 4.6},
                 {NoiseEnvId::Galactic, 2.0, 2.0}};
    for (const auto& c : cases) {
        EXPECT_EQ(DecilesOf(c.env).upper, c.upper);
        EXPECT_EQ(DecilesOf(c.env).lower, c.lower);
    }
}

TEST(AtmosphericLayer, CoversTheGridFrom100kHzTo30MHz) {
    const ItuNoiseCoefficients& c = Month(1);
    const AtmosphericSite site = MakeAtmosphericSite(c, 50.6875, 8.208333, 13);
    const std::vector<double> grid = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    const AtmosphericLayer layer = BuildAtmosphericLayer(c, site, grid, "legend");
    const auto inRange =
        std::count_if(grid.begin(), grid.end(), [](double hz) { return hz <= 30e6; });
    ASSERT_EQ(layer.freqHz.size(), static_cast<std::size_t>(inRange));
    ASSERT_EQ(layer.fa.size(), layer.freqHz.size());
    ASSERT_EQ(layer.faUpper.size(), layer.freqHz.size());
    ASSERT_EQ(layer.faLower.size(), layer.freqHz.size());
    EXPECT_EQ(layer.freqHz.front(), grid.front());
    EXPECT_GT(layer.freqHz.back(), 29.5e6);
    EXPECT_EQ(layer.legend, "legend");
    for (std::size_t i = 0; i < layer.freqHz.size(); i += 97) {
        const AtmosphericNoise n = AtmosphericNoiseAt(c, site, layer.freqHz[i] / 1e6);
        EXPECT_EQ(layer.fa[i], n.fa);
        EXPECT_EQ(layer.faUpper[i], n.fa + n.du);
        EXPECT_EQ(layer.faLower[i], n.fa - n.dl);
        EXPECT_NEAR(layer.log10Hz[i], std::log10(layer.freqHz[i]), 1e-12);
    }
    EXPECT_EQ(AtmosphericLegend("JO40CQ", 1, 13), "Atmospheric noise: JO40CQ, January, 13 h UTC");
    EXPECT_EQ(AtmosphericLegend("40.00N 165.00E", 12, 0),
              "Atmospheric noise: 40.00N 165.00E, December, 0 h UTC");
}

}  // namespace
}  // namespace fw
