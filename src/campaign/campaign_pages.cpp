#include "campaign/campaign_pages.h"

#include <cstdio>
#include <sstream>

#include "libs/number_text.h"
#include "campaign/campaign_report.h"
#include "stats/comparison_text.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

constexpr double ChartHeightMm = 105;

}  // namespace

std::string MinuteText(UtcSeconds t) {
    const UtcFields f = UtcFieldsOf(t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", f.year, f.month, f.day, f.hour,
                  f.minute);
    return buf;
}

void AddBandPage(CampaignLayout& l, const CampaignData& data, const BandSeries& band,
                 const std::vector<MonthAtmosphere>& atmosphere) {
    l.newPage();
    const SpanBandFacts& whole = data.span(CampaignSpan::Whole).bands.at(band.band);
    l.line(BandLabel(band.band) + " (" + GeneralText(band.band.freqMHz) + " MHz): " +
               std::to_string(whole.days) + " days, " + std::to_string(whole.hours) +
               " hours with values",
           14, ReportFixedFont, true, 9);
    l.line("Noise factor Fa by day", 10, ReportFixedFont, true, 5);
    PageBuilder daily = l.builder();
    DrawDailyChart(daily, {ReportLeftMm, l.y(), CampaignLayout::WidthMm, ChartHeightMm}, data,
                   band, atmosphere);
    l.skip(ChartHeightMm + 4);
    l.line("Noise factor Fa by UTC hour of the day", 10, ReportFixedFont, true, 5);
    PageBuilder profile = l.builder();
    DrawProfileChart(profile, {ReportLeftMm, l.y(), CampaignLayout::WidthMm, ChartHeightMm}, data,
                     band);
    l.skip(ChartHeightMm);
}

void AddComparisonPage(CampaignLayout& l, const CampaignData& data,
                       std::span<const BandComparison> rows) {
    l.newPage();
    l.heading(std::string(CampaignComparisonHeading));
    l.info("Before: " + SpanText(data.span(CampaignSpan::Before).span));
    l.info("After:  " + SpanText(data.span(CampaignSpan::After).span));
    if (!data.hours.wholeDay()) l.info("Hours:  " + HourRangeText(data.hours));
    l.skip(3);
    // The table, each band's verdict with any change of its receiver beside it, and what the
    // numbers mean and what they do not.
    std::istringstream text(ComparisonText(rows, data.hours));
    for (std::string line; std::getline(text, line);) l.row(line);
}

void AddGapsAppendix(CampaignLayout& l, const CampaignData& data) {
    l.newPage();
    l.heading(std::string(CampaignGapsHeading));
    if (data.gapRuns.empty()) {
        l.info("No band failed to be read in the span: no gaps were logged.");
        return;
    }
    l.paragraph("Each time a band could not be read, in UTC, with the reason logged. Gaps of one "
                "band that follow each other with the same reason stand as one line with their "
                "first and last time and their number.");
    for (const GapRun& run : data.gapRuns) {
        const std::string until = run.count > 1 ? " to " + MinuteText(run.last) : "";
        char times[64];
        std::snprintf(times, sizeof times, "%s%-20s  %-9s ", MinuteText(run.first).c_str(),
                      until.c_str(), BandLabel(run.band).c_str());
        std::string line = times + run.reason;
        if (run.count > 1) line += " (" + std::to_string(run.count) + " gaps)";
        l.line(line, 8, ReportFixedFont, false, 4.2, true);
    }
}

}  // namespace fw
