#pragma once
// The campaign report: an A4 portrait report of the station log over a span, in the printed
// noise report's fonts, page model, footer, date and decimal separator. Pages: the summary
// (the station, the log file, each span's readings, receivers, days, hours and gaps), per band
// its noise factor by day and by hour of the day as vector charts, the before/after
// comparison where asked for, the comparison with the network's neighbours where a server is
// given, the bearing scans of the span as polar plots, the gaps and the method.
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "diagram/picture.h"
#include "measure/itu_coefficient_cache.h"
#include "network/hourly_questions.h"
#include "output/report_page.h"
#include "stationlog/log_queries.h"
#include "stats/hour_range.h"

namespace fw {

// The network's server that the report asks for a page comparing each band's 24-hour
// profile with the neighbours'.
struct CampaignNeighbours {
    std::string server;    // a connection string without password
    std::string callsign;  // as ParseCallsign gives it
    double radiusKm = DefaultNeighbourRadiusKm;
};

struct CampaignRequest {
    LogSpan span;  // an open end reaches to the log's first or last reading's whole hour
    std::optional<LogSpan> before;  // both or neither
    std::optional<LogSpan> after;
    HourRange hours;
    std::optional<CampaignNeighbours> neighbours = std::nullopt;  // none: no such page
};

struct CampaignReport {
    ReportDocument document;
    // Raster pictures that picture items name by index; the report's own charts are vector
    // items of its pages and need none.
    std::vector<DiagramPicture> pictures;
};

inline constexpr std::string_view CampaignDocumentTitle = "Noise Campaign Report";
inline constexpr std::string_view CampaignTitlePrefix = "Campaign Report generated on ";
inline constexpr std::string_view CampaignSubtitle = "Radio noise at the station";
inline constexpr std::string_view CampaignMethodHeading = "How these figures were made";
inline constexpr std::string_view CampaignComparisonHeading = "Before and after";
inline constexpr std::string_view CampaignGapsHeading = "Gaps";
inline constexpr std::string_view CampaignNeighboursHeading = "Compared with the neighbours";
inline constexpr std::string_view CampaignBearingsHeading = "Where the noise comes from";

// Why a request cannot make a report, before the log is read: before and after overlapping,
// or reaching outside an end of the report's span that was given. None for a sound request.
std::optional<std::string> CampaignRequestProblem(const CampaignRequest& request);

// The report, or why there is none (a problem of the request, no reading in the span).
// Neither soon after `stop` is requested, also within a long read of the log.
struct CampaignBuild {
    std::optional<CampaignReport> report;
    std::string reason;  // empty with a report and after a stop
};

// The log is read in passes, never held whole. Throws LogError when it cannot be read.
CampaignBuild BuildCampaignReport(StationLog& log, const CampaignRequest& request,
                                  const NoiseReportTexts& texts, const TextWidthMm& textWidth,
                                  const ItuCoefficientCache& coefficients, std::stop_token stop = {});

}  // namespace fw
