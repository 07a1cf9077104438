#include "stats/span_comparison.h"

#include <algorithm>
#include <limits>
#include <map>

#include "libs/median.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"
#include "stats/day_values.h"
#include "stats/hourly_values.h"
#include "stats/rank_test.h"

namespace fw {

namespace {

// One band's readings in one span: their Fa with time, and the set-ups that took them.
struct BandSpanData {
    std::vector<TimedValue> fa;
    ReceiverSetups receivers;
};
using SpanData = std::map<LogBand, BandSpanData, LogBandOrder>;

SpanData ReadSpan(StationLog& log, const LogSpan& span, const HourRange& hours) {
    SpanData data;
    ForEachReading(log, span, [&](const LogReading& r) {
        if (!hours.contains(UtcHourOfDay(r.utc))) return;
        BandSpanData& band = data[BandOf(r)];
        band.fa.push_back({r.utc, NoiseFactorDb(r.fieldDbuVm, r.freqMHz, r.bandwidthHz)});
        band.receivers.insert(ReceiverOf(r));
    });
    return data;
}

struct Days {
    std::vector<double> values;
    std::size_t hours = 0;
};

Days DaysOf(std::vector<TimedValue> fa, const HourRange& hours) {
    const std::vector<HourValue> hourly = HourValues(std::move(fa));
    Days days{{}, hourly.size()};
    for (const DayValue& d : DayValues(hourly, hours)) days.values.push_back(d.value);
    return days;
}

// The readings of the span in the chosen hours and bands.
std::int64_t CountReadings(StationLog& log, const LogSpan& span, const HourRange& hours,
                           const std::vector<LogBand>& bands) {
    // BindSpan keeps utc at 0 or above, so the division gives the hour of the day.
    const std::string first = std::to_string(hours.first);
    const std::string last = std::to_string(hours.last);
    std::string sql =
        "SELECT count(*) FROM readings WHERE utc >= ? AND utc < ? AND " + SoundReadingSql;
    if (!hours.wholeDay())
        sql += hours.first <= hours.last
                   ? " AND (utc / 3600) % 24 BETWEEN " + first + " AND " + last
                   : " AND ((utc / 3600) % 24 >= " + first + " OR (utc / 3600) % 24 <= " + last + ")";
    if (!bands.empty()) {
        sql += " AND (";
        for (std::size_t i = 0; i < bands.size(); ++i)
            sql += (i ? " OR " : "") + std::string("(band = ? AND freq_mhz = ?)");
        sql += ")";
    }
    SqliteStatement s(log.database(), sql);
    BindSpan(s, span, 1);
    int index = 3;
    for (const LogBand& b : bands) {
        s.bind(index++, std::string_view(b.band));
        s.bind(index++, b.freqMHz);
    }
    s.step();
    return s.integer(0);
}

}  // namespace

BandComparison CompareBand(const LogBand& band, std::vector<double> before,
                           std::vector<double> after) {
    BandComparison c;
    c.band = band;
    c.daysBefore = before.size();
    c.daysAfter = after.size();
    c.medianBefore = Median(before);
    c.medianAfter = Median(after);
    c.pValue = std::numeric_limits<double>::quiet_NaN();
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    if (before.size() < MinComparedDays || after.size() < MinComparedDays) return c;
    c.shift = EstimateShift(before, after);
    c.pValue = MannWhitneyP(before, after);
    return c;
}

std::vector<BandComparison> QueryComparison(StationLog& log, const ComparisonRequest& request) {
    SpanData before = ReadSpan(log, request.before, request.hours);
    SpanData after = ReadSpan(log, request.after, request.hours);
    std::vector<LogBand> bands = request.bands;
    if (bands.empty()) {
        for (const auto& [band, data] : before) bands.push_back(band);
        for (const auto& [band, data] : after) bands.push_back(band);
    }
    std::sort(bands.begin(), bands.end(), LogBandOrder{});
    bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
    std::vector<BandComparison> out;
    for (const LogBand& band : bands) {
        BandSpanData& b = before[band];
        BandSpanData& a = after[band];
        Days daysBefore = DaysOf(std::move(b.fa), request.hours);
        Days daysAfter = DaysOf(std::move(a.fa), request.hours);
        BandComparison c =
            CompareBand(band, std::move(daysBefore.values), std::move(daysAfter.values));
        c.hoursBefore = daysBefore.hours;
        c.hoursAfter = daysAfter.hours;
        c.receiversBefore = std::move(b.receivers);
        c.receiversAfter = std::move(a.receivers);
        out.push_back(std::move(c));
    }
    return out;
}

std::optional<std::string> SpanOverlapText(const LogSpan& before, const LogSpan& after) {
    const UtcSeconds from = std::max(*before.from, *after.from);
    const UtcSeconds to = std::min(*before.to, *after.to);
    if (from >= to) return std::nullopt;
    if (*before.from == *after.from && *before.to == *after.to)
        return "the before and after spans are the same (" + UtcSpanText(from, to) +
               "): compare two different spans";
    return "the before and after spans overlap from " + UtcSpanText(from, to) +
           ": a reading may count on one side only";
}

std::optional<std::string> ComparisonRefusal(StationLog& log, const ComparisonRequest& request) {
    if (auto overlap = SpanOverlapText(request.before, request.after)) return overlap;
    const bool noneBefore = CountReadings(log, request.before, request.hours, request.bands) == 0;
    const bool noneAfter = CountReadings(log, request.after, request.hours, request.bands) == 0;
    // The hours and bands asked for, where they narrow the readings.
    std::string within;
    if (!request.hours.wholeDay()) within += " in the hours " + HourRangeText(request.hours);
    for (std::size_t i = 0; i < request.bands.size(); ++i)
        within += (i ? ", " : " on ") + BandLabel(request.bands[i]);
    const auto empty = [&](const char* side, const LogSpan& s) {
        return "no readings in the " + std::string(side) + " span (" +
               UtcSpanText(*s.from, *s.to) + ")" + within;
    };
    if (noneBefore && noneAfter) return empty("before", request.before) + " nor in the after span";
    if (noneBefore) return empty("before", request.before);
    if (noneAfter) return empty("after", request.after);
    return std::nullopt;
}

}  // namespace fw
