#include "campaign/campaign_summary.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "libs/median.h"
#include "logviews/log_view_picture.h"
#include "logviews/view_frame.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"
#include "stats/hourly_values.h"

namespace fw {

namespace {

// What the setup pass keeps of each band: the hours of the day it was read in and how often
// each bandwidth was used.
struct BandUse {
    std::bitset<24> hours;
    std::map<double, int> bandwidths;
};

std::string ReceiverOf(const LogReading& r) {
    const std::string source(SourceText(r.source));
    return r.rig.empty() ? source : r.rig + " (" + source + ")";
}

void Describe(CampaignBandSummary& s, std::vector<double> values) {
    s.hourlyValues = values.size();
    s.medianFa = Median(values);
    s.lowDecileFa = Quantile(values, 0.1);
    s.highDecileFa = Quantile(values, 0.9);
    // The reference levels' Fa: their field strength read back in the same bandwidth.
    double nearest = std::numeric_limits<double>::infinity();
    for (const ReferenceLevel& level : ManMadeLevels(s.band.freqMHz, 1)) {
        const double fa = NoiseFactorDb(level.fieldDbuVm, s.band.freqMHz, 1);
        if (std::abs(fa - s.medianFa) < nearest) {
            nearest = std::abs(fa - s.medianFa);
            s.nearestEnvironment = level.name;
        }
        if (level.name == "Rural") s.aboveRuralDb = s.medianFa - fa;
    }
}

}  // namespace

CampaignSummary QueryCampaignSummary(StationLog& log, UtcSeconds from, UtcSeconds to,
                                     const HourRange& hours, ItuCoefficientCache& coefficients) {
    const LogSpan span{from, to};
    CampaignSummary out;
    CampaignSetup& setup = out.setup;
    std::map<LogBand, BandUse, LogBandOrder> use;
    ForEachReading(log, span, [&](const LogReading& r) {
        ++setup.readings;
        if (!r.locator.empty()) setup.locators.insert(r.locator);
        setup.receivers.insert(ReceiverOf(r));
        setup.gainsDbi.insert(r.gainDbi);
        setup.bandwidthsHz.insert(r.bandwidthHz);
        setup.methods.insert(r.method);
        const int hour = UtcHourOfDay(r.utc);
        if (!hours.contains(hour)) return;
        BandUse& u = use[BandOf(r)];
        u.hours.set(static_cast<std::size_t>(hour));
        ++u.bandwidths[r.bandwidthHz];
    });
    setup.gaps = static_cast<std::int64_t>(GapsIn(log, span).size());

    const std::string locator = LatestLocator(log);
    const int month = UtcFieldsOf(from + (to - from) / 2).month;
    for (auto& [band, values] : QueryHourlyFa(log, span, hours)) {
        CampaignBandSummary s;
        s.band = band;
        Describe(s, std::move(values));
        const BandUse& u = use[band];
        s.bandwidthHz = std::max_element(u.bandwidths.begin(), u.bandwidths.end(),
                                         [](const auto& a, const auto& b) {
                                             return a.second < b.second;
                                         })->first;
        if (const auto atmosphere = AtmosphericFaByHour(locator, month, band.freqMHz, coefficients)) {
            std::vector<double> logged;
            for (std::size_t h = 0; h < 24; ++h)
                if (u.hours.test(h)) logged.push_back((*atmosphere)[h]);
            s.atmosphericFa = Median(logged);
        }
        out.bands.push_back(std::move(s));
    }
    return out;
}

}  // namespace fw
