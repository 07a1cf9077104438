#include "campaign/campaign_summary.h"

#include <cmath>
#include <limits>

#include "libs/median.h"
#include "logviews/log_view_picture.h"
#include "logviews/view_frame.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

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

UtcSeconds NextMonth(UtcFields f) {
    f.day = 1, f.hour = 0, f.minute = 0, f.second = 0;
    f.month = f.month % 12 + 1;
    if (f.month == 1) ++f.year;
    return UtcSecondsOf(f);
}

}  // namespace

std::vector<CampaignBandSummary> SummarizeBands(const CampaignData& data) {
    std::vector<CampaignBandSummary> out;
    for (const BandSeries& b : data.bands) {
        std::vector<double> values;
        for (const BandHour& v : b.hours)
            if (data.hours.contains(UtcHourOfDay(v.hour))) values.push_back(v.fa);
        if (values.empty()) continue;
        CampaignBandSummary s;
        s.band = b.band;
        Describe(s, std::move(values));
        out.push_back(std::move(s));
    }
    return out;
}

std::vector<MonthAtmosphere> AtmosphereByMonth(const CampaignData& data, const LogBand& band,
                                               const ItuCoefficientCache& coefficients) {
    std::vector<MonthAtmosphere> out;
    const LogSpan& whole = data.span(CampaignSpan::Whole).span;
    for (UtcSeconds from = *whole.from; from < *whole.to;) {
        const UtcFields f = UtcFieldsOf(from);
        const UtcSeconds to = NextMonth(f);
        const auto byHour = AtmosphericFaByHour(data.locator, f.month, band.freqMHz, coefficients);
        if (!byHour) return {};
        std::vector<double> chosen;
        for (int h = 0; h < 24; ++h)
            if (data.hours.contains(h)) chosen.push_back((*byHour)[static_cast<std::size_t>(h)]);
        out.push_back({from, to, Median(chosen)});
        from = to;
    }
    return out;
}

}  // namespace fw
