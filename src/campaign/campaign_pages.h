#pragma once
// The campaign report's parts, each laid out onto the pages in turn.
#include <span>
#include <stop_token>
#include <vector>

#include "campaign/campaign_charts.h"
#include "campaign/campaign_data.h"
#include "campaign/campaign_layout.h"
#include "campaign/campaign_summary.h"
#include "diagram/picture.h"
#include "stationlog/log_bearing.h"
#include "stationlog/log_file_facts.h"
#include "stationlog/station_details.h"
#include "stats/span_comparison.h"

namespace fw {

// The atmospheric Fa of each month, per band in the order of CampaignData::bands.
using BandAtmospheres = std::vector<std::vector<MonthAtmosphere>>;

void AddSummaryPages(CampaignLayout& l, const CampaignData& data, const StationDetails& station,
                     const LogFileFacts& file, std::span<const CampaignBandSummary> bands,
                     const BandAtmospheres& atmosphere);
void AddBandPage(CampaignLayout& l, const CampaignData& data, const BandSeries& band,
                 const std::vector<MonthAtmosphere>& atmosphere);
void AddComparisonPage(CampaignLayout& l, const CampaignData& data,
                       std::span<const BandComparison> rows);
// Each band's 24-hour profile beside the neighbours' on the network's server, as pictures
// added to `pictures`, with the summary lines; a server that cannot be asked is said with
// its reason instead.
struct CampaignNeighbours;
void AddNeighboursPages(CampaignLayout& l, std::vector<DiagramPicture>& pictures,
                        const CampaignData& data, const CampaignNeighbours& neighbours,
                        const std::stop_token& stop);
void AddGapsAppendix(CampaignLayout& l, const CampaignData& data);
void AddMethodPage(CampaignLayout& l, const CampaignData& data);

// Each bearing scan as a polar plot, drawn into `pictures`; nothing without scans.
void AddBearingPages(CampaignLayout& l, std::vector<DiagramPicture>& pictures,
                     const std::vector<LogBearingScan>& scans);

// "2026-03-01 00:00 to 2026-03-05 00:00 UTC".
std::string SpanText(const LogSpan& span);
// "2026-03-01 14:05", a UTC time to the minute.
std::string MinuteText(UtcSeconds t);

}  // namespace fw
