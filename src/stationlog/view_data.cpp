#include "stationlog/view_data.h"

#include <limits>

#include "libs/median.h"
#include "stationlog/utc_text.h"

namespace fw {

std::vector<LevelSeries> QueryLevelSeries(StationLog& log, std::span<const LogBand> bands,
                                          const LogSpan& span, double displayBandwidthHz) {
    std::vector<LevelSeries> out;
    out.reserve(bands.size());
    for (const LogBand& band : bands) {
        LevelSeries series{band, {}, {}};
        const std::vector<LevelPoint> points = BandLevels(log, band, span);
        series.utc.reserve(points.size());
        series.fieldDbuVm.reserve(points.size());
        for (const LevelPoint& p : points) {
            series.utc.push_back(p.utc);
            series.fieldDbuVm.push_back(
                LevelForBandwidth(p.fieldDbuVm, p.bandwidthHz, displayBandwidthHz));
        }
        out.push_back(std::move(series));
    }
    return out;
}

HourlyProfile ComputeHourlyProfile(const LogBand& band, std::span<const LevelPoint> points,
                                   double displayBandwidthHz) {
    std::array<std::vector<double>, 24> byHour;
    for (const LevelPoint& p : points)
        byHour[static_cast<std::size_t>(UtcHourOfDay(p.utc))].push_back(
            LevelForBandwidth(p.fieldDbuVm, p.bandwidthHz, displayBandwidthHz));

    HourlyProfile profile{band, {}};
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t h = 0; h < 24; ++h) {
        std::vector<double>& v = byHour[h];
        HourStats& s = profile.hours[h];
        s.count = static_cast<int>(v.size());
        s.median = v.empty() ? none : Median(v);
        s.p10 = v.empty() ? none : Quantile(v, 0.1);
        s.p90 = v.empty() ? none : Quantile(v, 0.9);
    }
    return profile;
}

HourlyProfile QueryHourlyProfile(StationLog& log, const LogBand& band, const LogSpan& span,
                                 double displayBandwidthHz) {
    const std::vector<LevelPoint> points = BandLevels(log, band, span);
    return ComputeHourlyProfile(band, points, displayBandwidthHz);
}

}  // namespace fw
