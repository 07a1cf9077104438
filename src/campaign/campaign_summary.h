#pragma once
// What the campaign report's summary says of each band's noise factor, and the atmospheric
// noise factor of the ITU model for each month of the span.
#include <optional>
#include <string>
#include <vector>

#include "campaign/campaign_charts.h"
#include "campaign/campaign_data.h"
#include "measure/itu_coefficient_cache.h"

namespace fw {

// One band's hourly noise factor Fa over the whole span within the chosen hours, in dB.
struct CampaignBandSummary {
    LogBand band;
    std::size_t hourlyValues = 0;
    double medianFa = 0;
    double lowDecileFa = 0;
    double highDecileFa = 0;
    std::string nearestEnvironment;  // the man-made curve nearest to the median
    double aboveRuralDb = 0;         // median minus the rural curve
};

// The bands with hourly values within the chosen hours, by ascending frequency.
std::vector<CampaignBandSummary> SummarizeBands(const CampaignData& data);

// For each calendar month the span touches, the ITU model's atmospheric Fa at the latest
// locator and the band's frequency: the median over the chosen hours of the day. Empty where
// the model gives none (no locator, a frequency outside its range, no coefficients).
std::vector<MonthAtmosphere> AtmosphereByMonth(const CampaignData& data, const LogBand& band,
                                               const ItuCoefficientCache& coefficients);

}  // namespace fw
