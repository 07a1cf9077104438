#include "stats/hourly_values.h"

#include <algorithm>

#include "libs/median.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

// The clock hour of a time, counted from 1970 and rounded down also before it.
std::int64_t ClockHour(UtcSeconds t) {
    return t / 3600 - (t % 3600 < 0 ? 1 : 0);
}

}  // namespace

std::vector<HourValue> HourValues(std::vector<TimedValue> values) {
    std::stable_sort(values.begin(), values.end(), [](const TimedValue& a, const TimedValue& b) {
        return ClockHour(a.utc) < ClockHour(b.utc);
    });
    std::vector<HourValue> hourly;
    std::vector<double> hour;
    for (std::size_t i = 0; i < values.size();) {
        const std::int64_t h = ClockHour(values[i].utc);
        hour.clear();
        for (; i < values.size() && ClockHour(values[i].utc) == h; ++i)
            hour.push_back(values[i].value);
        hourly.push_back({h, Median(hour)});
    }
    return hourly;
}

std::vector<double> HourlyMedians(std::vector<TimedValue> values) {
    std::vector<double> hourly;
    for (const HourValue& h : HourValues(std::move(values))) hourly.push_back(h.value);
    return hourly;
}

BandHourlyValues QueryHourlyFa(StationLog& log, const LogSpan& span, const HourRange& hours) {
    std::map<LogBand, std::vector<TimedValue>, LogBandOrder> byBand;
    ForEachReading(log, span, [&](const LogReading& r) {
        if (!hours.contains(UtcHourOfDay(r.utc))) return;
        byBand[BandOf(r)].push_back({r.utc, NoiseFactorDb(r.fieldDbuVm, r.freqMHz, r.bandwidthHz)});
    });
    BandHourlyValues out;
    for (auto& [band, values] : byBand) out.emplace(band, HourlyMedians(std::move(values)));
    return out;
}

}  // namespace fw
