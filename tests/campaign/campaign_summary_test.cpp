// The summary's figures against the same figures worked out here from their definitions.
#include "campaign/campaign_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <random>

#include "model/atmospheric_noise.h"

namespace fw {
namespace {

constexpr UtcSeconds Feb20 = 1771545600, March1 = 1772323200, April1 = 1775001600, Hour = 3600;

// Position (n - 1) q in the sorted values, interpolated between its neighbours.
double SortedQuantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    const double at = (static_cast<double>(v.size()) - 1) * q;
    const auto i = static_cast<std::size_t>(at);
    return i + 1 < v.size() ? v[i] + (at - static_cast<double>(i)) * (v[i + 1] - v[i]) : v[i];
}

// The ITU-R P.372 man-made curves, Fam = c - d log10(f MHz).
std::string NearestManMade(double fa, double freqMHz) {
    const struct { const char* name; double c, d; } curves[] = {
        {"City", 76.8, 27.7}, {"Residential", 72.5, 27.7}, {"Rural", 67.2, 27.7},
        {"Quiet Rural", 53.6, 28.6}};
    std::string nearest;
    double distance = INFINITY;
    for (const auto& e : curves)
        if (const double d = std::abs(e.c - e.d * std::log10(freqMHz) - fa); d < distance)
            distance = d, nearest = e.name;
    return nearest;
}

CampaignData TwentyDaysFrom(UtcSeconds from) {
    CampaignData data;
    data.hours = {22, 3};  // past midnight
    data.locator = "JO40CQ";
    SpanFacts whole;
    whole.span = {from, from + 20 * 24 * Hour};
    data.spans = {whole};
    return data;
}

TEST(CampaignSummary, MedianDecilesAndNearestEnvironmentAsWorkedOutByHand) {
    std::setlocale(LC_ALL, "C");
    CampaignData data = TwentyDaysFrom(Feb20);
    std::mt19937 random(5);
    std::vector<std::vector<double>> chosen;
    // Around City at 80m, Rural at 40m, Quiet Rural at 20m; 7 and 8 values an hour apart.
    for (const auto& [name, freq, centre] : {std::tuple{"80m", 3.65, 61.0},
                                            std::tuple{"40m", 7.1, 43.0},
                                            std::tuple{"20m", 14.175, 21.0}}) {
        BandSeries b{{name, freq}, {}, 2700};
        chosen.emplace_back();
        for (UtcSeconds t = Feb20; t < Feb20 + 20 * 24 * Hour; t += Hour) {
            const auto fa = static_cast<float>(centre + std::uniform_real_distribution(-6.0, 6.0)(random));
            b.hours.push_back({t, fa, MaskOf(CampaignSpan::Whole)});
            if (const int h = static_cast<int>(t / Hour % 24); h >= 22 || h <= 3) chosen.back().push_back(fa);
        }
        data.bands.push_back(std::move(b));
    }
    const std::vector<CampaignBandSummary> got = SummarizeBands(data);
    ASSERT_EQ(got.size(), 3u);
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(got[i].band.band);
        const double median = SortedQuantile(chosen[i], 0.5);
        EXPECT_EQ(got[i].hourlyValues, chosen[i].size());
        EXPECT_NEAR(got[i].medianFa, median, 1e-9);
        EXPECT_NEAR(got[i].lowDecileFa, SortedQuantile(chosen[i], 0.1), 1e-9);
        EXPECT_NEAR(got[i].highDecileFa, SortedQuantile(chosen[i], 0.9), 1e-9);
        EXPECT_EQ(got[i].nearestEnvironment, NearestManMade(median, got[i].band.freqMHz));
        EXPECT_NEAR(got[i].aboveRuralDb, median - (67.2 - 27.7 * std::log10(got[i].band.freqMHz)), 1e-9);
    }
    EXPECT_EQ(got[0].nearestEnvironment, "City");
    EXPECT_EQ(got[2].nearestEnvironment, "Quiet Rural");
}

// Each month's atmospheric Fa: the median over the chosen hours of the model's Fa at the
// centre of JO40CQ (50.6875 N, 8.2083 E), months cut at their first day.
TEST(CampaignSummary, AtmosphericFaOfEachMonthIsTheMedianOverTheChosenHours) {
    std::setlocale(LC_ALL, "C");
    const CampaignData data = TwentyDaysFrom(Feb20);
    const auto store = ItuCoefficientCache::SharedInFolder(FW_ITU_DATA_DIR);
    const std::vector<MonthAtmosphere> got = AtmosphereByMonth(data, {"80m", 3.65}, *store);
    ASSERT_EQ(got.size(), 2u);
    const UtcSeconds starts[] = {Feb20, March1}, ends[] = {March1, April1};
    for (int m = 0; m < 2; ++m) {
        const ItuNoiseCoefficients& c = store->Month(2 + m)->value();
        std::vector<double> fa;
        for (const int h : {22, 23, 0, 1, 2, 3})
            fa.push_back(AtmosphericNoiseAt(c, MakeAtmosphericSite(c, 50.6875, 8.0 + 2.5 / 12, h), 3.65).fa);
        EXPECT_EQ(got[m].from, starts[m]);
        EXPECT_EQ(got[m].to, ends[m]);
        EXPECT_NEAR(got[m].fa, SortedQuantile(fa, 0.5), 1e-9) << m;
    }
    EXPECT_TRUE(AtmosphereByMonth(data, {"2m", 145}, *store).empty());  // outside the model
}

}  // namespace
}  // namespace fw
