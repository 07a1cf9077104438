// The campaign report built from a log in memory: its title, and its stop.
#include "campaign/campaign_report.h"

#include <gtest/gtest.h>

#include "stationlog/log_bearing.h"
#include "stationlog/station_log.h"

namespace fw {
namespace {

TEST(CampaignReport, TitledForThePdfAndGivenUpWhereverTheStopComes) {
    // 40m every hour for four days, louder in the last two.
    constexpr UtcSeconds March1 = 1772323200, Days2 = 2 * 86400;
    StationLog log = StationLog::Open(":memory:");
    for (UtcSeconds t = March1; t < March1 + 2 * Days2; t += 3600)
        log.add({t, "40m", 7.1, 2700, "Field", 0, 0, 0, 0, (t < March1 + Days2 ? 10.0 : 16.0),
                 ReadingSource::Typed, "", "JO40CQ"});
    ItuCoefficientCache coefficients("/nonexistent");
    const CampaignRequest request{
        {}, LogSpan{March1, March1 + Days2}, LogSpan{March1 + Days2, March1 + 2 * Days2}, {}};
    // The stop before the build, at the first or fortieth text measured (the layout begun), never.
    std::stop_source stopped;
    stopped.request_stop();
    for (const int stopAt : {0, 1, 40, -1}) {
        std::stop_source stop = stopAt == 0 ? stopped : std::stop_source();
        int widths = 0;
        const TextWidthMm width = [&](const PageFont&, std::string_view text) {
            if (++widths == stopAt) stop.request_stop();
            return 2.0 * static_cast<double>(text.size());
        };
        const std::optional<CampaignReport> report =
            BuildCampaignReport(log, request, {"7 Dec 2026", "v 1.0", "(c)"}, width, coefficients,
                                stop.get_token())
                .report;
        EXPECT_EQ(report.has_value(), stopAt < 0) << stopAt;
        if (report) EXPECT_EQ(report->document.title, "Noise Campaign Report") << widths;
    }
    // A read of the log under way ends on the stop.
    const SqliteStopOnRequest watched(log.database(), stopped.get_token());
    EXPECT_THROW(ReadingsIn(log, {}), LogError);
}

// The scans of the span, and only those, stand as polar plots on a page of their own.
TEST(CampaignReport, ShowsTheBearingScansOfItsSpanAsPolarPlots) {
    constexpr UtcSeconds March1 = 1772323200;
    StationLog log = StationLog::Open(":memory:");
    for (UtcSeconds t = March1; t < March1 + 86400; t += 3600)
        log.add({t, "40m", 7.1, 2700, "Field", 0, 0, 0, 0, 10, ReadingSource::Typed, "", "JO40CQ"});
    const auto report = [&] {
        ItuCoefficientCache coefficients("/nonexistent");
        const TextWidthMm width = [](const PageFont&, std::string_view t) { return 2.0 * t.size(); };
        return *BuildCampaignReport(log, {{March1, March1 + 86400}, {}, {}, {}},
                                    {"7 Dec 2026", "v 1.0", "(c)"}, width, coefficients)
                    .report;
    };
    const auto headed = [](const CampaignReport& r) {
        for (const ReportPage& page : r.document.pages)
            for (const PageItem& item : page.items)
                if (const auto* t = std::get_if<PageTextItem>(&item); t && t->text == CampaignBearingsHeading)
                    return true;
        return false;
    };
    EXPECT_FALSE(headed(report()));
    const LogBearingScan scan{March1 + 3600, "40m", 7.1, "Floorwatch test SDR",
                              "rotctld at localhost:4533 (Dummy rotator)", "dBm",
                              {{0, -100}, {90, -90}, {180, -100}, {270, -110}}, std::nullopt};
    AddBearingScan(log, scan);
    LogBearingScan later = scan;
    later.utc = March1 + 2 * 86400;  // after the span
    AddBearingScan(log, later);
    const CampaignReport withScan = report();
    EXPECT_TRUE(headed(withScan));
    ASSERT_EQ(withScan.pictures.size(), 1u);
    EXPECT_EQ(withScan.pictures[0].width, 1000);
}

}  // namespace
}  // namespace fw
