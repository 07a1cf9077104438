#pragma once
// The campaign report: an A4 portrait report of the station log over a span, in the printed
// noise report's fonts, page model, footer, date and decimal separator. Pages: the summary,
// per band its level over time and 24-hour profile, the before/after comparison where asked
// for, and the method.
#include <optional>
#include <stop_token>
#include <vector>

#include "diagram/picture.h"
#include "measure/itu_coefficient_cache.h"
#include "output/report_page.h"
#include "stationlog/log_queries.h"
#include "stats/hour_range.h"

namespace fw {

struct CampaignRequest {
    LogSpan span;  // an open end reaches to the log's first or last reading's whole hour
    std::optional<LogSpan> before;  // both or neither
    std::optional<LogSpan> after;
    HourRange hours;
};

struct CampaignReport {
    ReportDocument document;
    // The views drawn at print resolution; picture items name them by index.
    std::vector<DiagramPicture> pictures;
};

inline constexpr std::string_view CampaignDocumentTitle = "Noise Campaign Report";
inline constexpr std::string_view CampaignTitlePrefix = "Campaign Report generated on ";
inline constexpr std::string_view CampaignSubtitle = "Radio noise at the station";
inline constexpr std::string_view CampaignMethodHeading = "How these figures were made";
inline constexpr std::string_view CampaignComparisonHeading = "Before and after";

// The views' pixels per logical pixel: an 800 x 500 view 170 mm wide at 300 dpi.
inline constexpr double CampaignPictureRatio = 2.5;

// The report of the request. None when the span holds no reading, and none soon after `stop`
// is requested, also within a long read of the log. Throws LogError when the log cannot be
// read.
std::optional<CampaignReport> BuildCampaignReport(StationLog& log, const CampaignRequest& request,
                                                  const NoiseReportTexts& texts,
                                                  const TextWidthMm& textWidth,
                                                  ItuCoefficientCache& coefficients,
                                                  std::stop_token stop = {});

}  // namespace fw
