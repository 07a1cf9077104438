// The campaign report's figures from one pass over a log built for the purpose.
#include "campaign/campaign_data.h"

#include <gtest/gtest.h>

#include <cmath>

#include "campaign/campaign_charts.h"
#include "stationlog/station_log.h"

namespace fw {
namespace {

constexpr UtcSeconds March1 = 1772323200, Hour = 3600, Day = 86400;

// 40m on four days: every 20 minutes from 18 to 23 UTC on days 0 and 1, only 18 UTC on
// day 2 (too few hours for a day), and 18 to 23 on day 3; a reading of bandwidth 0; gaps.
TEST(CampaignData, CountsPerSpanWithinTheChosenHoursAndGapRunsMerged) {
    StationLog log = StationLog::Open(":memory:");
    const auto add = [&](UtcSeconds t, double field, double bandwidth = 2700) {
        log.add({t, "40m", 7.1, bandwidth, "Field", 0, 0, 0, 0, field, ReadingSource::Rig,
                 "Rig A", "JO40CQ"});
    };
    for (const int day : {0, 1, 3})
        for (int h = 18; h < 24; ++h)
            for (int m = 0; m < 60; m += 20) add(March1 + day * Day + h * Hour + m * 60, 10 + m);
    add(March1 + 2 * Day + 18 * Hour, 30);
    add(March1 + 2 * Day + 10 * Hour, 30);  // outside the chosen hours
    add(March1 + 2 * Day + 19 * Hour, 30, 0);
    for (int i = 0; i < 5; ++i)
        log.addGap({March1 + Day + i * 600, "40m", 7.1, i < 3 ? "no answer" : "busy", "Rig A"});
    log.addGap({March1 + 3 * Day, "80m", 3.65, "no answer", "Rig A"});

    const LogSpan whole{March1, March1 + 4 * Day};
    const LogSpan before{March1, March1 + 2 * Day};
    const LogSpan after{March1 + 2 * Day, March1 + 4 * Day};
    const CampaignData data = QueryCampaignData(log, whole, &before, &after, {18, 23});
    ASSERT_TRUE(data.compared());
    const LogBand band{"40m", 7.1};
    const struct {
        CampaignSpan span;
        std::int64_t readings, damaged, gaps;
        std::size_t hours, days;
    } expected[] = {
        {CampaignSpan::Whole, 3 * 18 + 2, 1, 6, 19, 3},
        {CampaignSpan::Before, 2 * 18, 0, 5, 12, 2},
        {CampaignSpan::After, 18 + 2, 1, 1, 7, 1},
    };
    for (const auto& e : expected) {
        const SpanFacts& s = data.span(e.span);
        EXPECT_EQ(s.readings, e.readings) << int(e.span);
        EXPECT_EQ(s.damaged, e.damaged) << int(e.span);
        EXPECT_EQ(s.gaps, e.gaps) << int(e.span);
        EXPECT_EQ(s.bands.at(band).hours, e.hours) << int(e.span);
        EXPECT_EQ(s.bands.at(band).days, e.days) << int(e.span);
    }
    EXPECT_EQ(data.span(CampaignSpan::Before).bands.at(band).gapReasons,
              (std::map<std::string, std::int64_t>{{"busy", 2}, {"no answer", 3}}));
    EXPECT_EQ(data.span(CampaignSpan::Whole).receivers,
              std::set<std::string>{"Rig A (rig), 0 dBi, calibration unknown, 2700 Hz"});
    // Hourly values of every hour of the day, the median of the hour's readings (10, 30, 50).
    ASSERT_EQ(data.bands.size(), 1u);
    EXPECT_EQ(data.bands[0].hours.size(), 20u);
    EXPECT_NEAR(data.bands[0].hours[0].fa, 30 - 20 * std::log10(7.1) - 10 * std::log10(2700) + 98.9,
                1e-4);
    // Runs of one band and reason: 3 + 2 on 40m, 1 on 80m.
    ASSERT_EQ(data.gapRuns.size(), 3u);
    EXPECT_EQ(data.gapRuns[0].count, 3);
    EXPECT_EQ(data.gapRuns[0].last, March1 + Day + 1200);
    EXPECT_EQ(data.gapRuns[1].reason, "busy");
    EXPECT_EQ(data.gapRuns[2].band.band, "80m");
}

TEST(CampaignCharts, BeforeAndAfterDifferInShapeFillAndLineNotOnlyInColour) {
    const SeriesStyle before = StyleOf(CampaignSpan::Before, true);
    const SeriesStyle after = StyleOf(CampaignSpan::After, true);
    EXPECT_NE(before.shape, after.shape);
    EXPECT_NE(before.filled, after.filled);
    EXPECT_NE(before.dash, after.dash);
    EXPECT_EQ(before.grey, after.grey);
}

}  // namespace
}  // namespace fw
