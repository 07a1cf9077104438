#pragma once
// What the campaign report's summary page says about a span of the station log.
#include <array>
#include <bitset>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "measure/itu_coefficient_cache.h"
#include "stationlog/log_queries.h"
#include "stats/hour_range.h"

namespace fw {

// How the span's readings were taken, as logged.
struct CampaignSetup {
    std::set<std::string> locators;
    std::set<std::string> receivers;  // "rig model (source)", or "typed" without a rig
    std::set<double> gainsDbi;
    std::set<double> bandwidthsHz;
    std::set<std::string> methods;
    std::int64_t readings = 0;
    std::int64_t gaps = 0;
};

// One band's hourly noise factor Fa in the span, in dB.
struct CampaignBandSummary {
    LogBand band;
    std::size_t hourlyValues = 0;
    double medianFa = 0;
    double lowDecileFa = 0;
    double highDecileFa = 0;
    std::string nearestEnvironment;  // the man-made curve nearest to the median
    double aboveRuralDb = 0;         // median minus the rural curve
    std::optional<double> atmosphericFa;  // median over the logged hours of the day
    double bandwidthHz = 0;               // the band's most used bandwidth
};

struct CampaignSummary {
    CampaignSetup setup;
    std::vector<CampaignBandSummary> bands;  // by ascending frequency
};

// Reads the span once for the setup and once for the hourly values of the readings whose
// UTC hour lies in `hours`. The atmospheric Fa is the ITU model's at the latest locator in
// the month of the span's middle. Throws LogError when the log cannot be read.
CampaignSummary QueryCampaignSummary(StationLog& log, UtcSeconds from, UtcSeconds to,
                                     const HourRange& hours, ItuCoefficientCache& coefficients);

}  // namespace fw
