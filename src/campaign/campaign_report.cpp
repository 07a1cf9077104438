#include "campaign/campaign_report.h"

#include "stationlog/log_to_list.h"

#include <algorithm>

#include "campaign/campaign_pages.h"

namespace fw {

namespace {

// The report's span: as asked for, its open ends reaching to the log's readings and to the
// before and after spans.
LogSpan ReportSpan(const CampaignRequest& request, const LogExtent& extent) {
    const LogSpan whole = WholeHoursOf(extent);
    UtcSeconds from = request.span.from.value_or(*whole.from);
    UtcSeconds to = request.span.to.value_or(*whole.to);
    if (request.before && request.after) {
        if (!request.span.from) from = std::min({from, *request.before->from, *request.after->from});
        if (!request.span.to) to = std::max({to, *request.before->to, *request.after->to});
    }
    return {from, to};
}

std::vector<BandComparison> Compare(StationLog& log, const CampaignRequest& request) {
    return QueryComparison(log, {*request.before, *request.after, request.hours, {}});
}

CampaignBuild Build(StationLog& log, const CampaignRequest& request, const NoiseReportTexts& texts,
                    const TextWidthMm& textWidth, const ItuCoefficientCache& coefficients,
                    const std::stop_token& stop) {
    const LogExtent extent = ExtentOf(log);
    if (extent.readings == 0) return {std::nullopt, NoReadingsInSpanText};
    const LogSpan span = ReportSpan(request, extent);
    if (*span.from >= *span.to) return {std::nullopt, NoReadingsInSpanText};
    const bool compared = request.before && request.after;
    const CampaignData data =
        QueryCampaignData(log, span, compared ? &*request.before : nullptr,
                          compared ? &*request.after : nullptr, request.hours);
    if (data.span(CampaignSpan::Whole).readings == 0) return {std::nullopt, NoReadingsInSpanText};
    if (stop.stop_requested()) return {};

    BandAtmospheres atmosphere;
    for (const BandSeries& b : data.bands)
        atmosphere.push_back(AtmosphereByMonth(data, b.band, coefficients));
    const StationDetails station = ReadStationDetails(log);
    const LogFileFacts file = QueryLogFileFacts(log);

    CampaignReport report;
    report.document.title = CampaignDocumentTitle;
    CampaignLayout layout(report.document, texts, textWidth);
    AddSummaryPages(layout, data, station, file, SummarizeBands(data), atmosphere);
    for (std::size_t b = 0; b < data.bands.size(); ++b) {
        if (stop.stop_requested()) return {};
        AddBandPage(layout, data, data.bands[b], atmosphere[b]);
    }
    if (compared) AddComparisonPage(layout, data, Compare(log, request));
    if (request.neighbours)
        AddNeighboursPages(layout, report.pictures, data, *request.neighbours, stop);
    AddBearingPages(layout, report.pictures, BearingScansIn(log, span));
    AddGapsAppendix(layout, data);
    AddMethodPage(layout, data);
    layout.finish();
    return {std::move(report), {}};
}

}  // namespace

std::optional<std::string> CampaignRequestProblem(const CampaignRequest& request) {
    if (!request.before || !request.after) return std::nullopt;
    if (auto overlap = SpanOverlapText(*request.before, *request.after))
        return "Cannot compare: " + *overlap;
    const LogSpan& s = request.span;
    for (const LogSpan* side : {&*request.before, &*request.after})
        if ((s.from && *side->from < *s.from) || (s.to && *side->to > *s.to))
            return std::string("The before and after spans must lie within the report's span "
                               "(--from/--to): its summary describes exactly the data compared");
    return std::nullopt;
}

CampaignBuild BuildCampaignReport(StationLog& log, const CampaignRequest& request,
                                  const NoiseReportTexts& texts, const TextWidthMm& textWidth,
                                  const ItuCoefficientCache& coefficients, std::stop_token stop) {
    if (stop.stop_requested()) return {};
    if (const auto problem = CampaignRequestProblem(request)) return {std::nullopt, *problem};
    CampaignBuild build;
    try {
        const SqliteStopOnRequest interruptible(log.database(), stop);
        build = Build(log, request, texts, textWidth, coefficients, stop);
    } catch (const LogError&) {
        if (!stop.stop_requested()) throw;  // else the read was interrupted on purpose
    }
    if (stop.stop_requested()) return {};
    return build;
}

}  // namespace fw
