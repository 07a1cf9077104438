#pragma once
// What the campaign report shows of the station log, gathered in one pass over its readings
// and one over its gaps, so that a year of readings is never held at once: per band the
// hourly noise factor, per span (the whole report, before and after a change) the counts,
// the receivers and the gaps.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "stationlog/log_queries.h"
#include "stats/hour_range.h"

namespace fw {

// The report's spans: the whole, and where a comparison is asked for, before and after.
enum class CampaignSpan : std::uint8_t { Whole = 0, Before = 1, After = 2 };
inline constexpr std::size_t CampaignSpanCount = 3;
using SpanMask = std::uint8_t;  // bit 1 << CampaignSpan

constexpr SpanMask MaskOf(CampaignSpan s) {
    return static_cast<SpanMask>(1u << static_cast<unsigned>(s));
}

// One band's value of one UTC clock hour: the median Fa of that hour's readings that lie in
// the same spans (an hour cut by a span's end gives a value on each side).
struct BandHour {
    UtcSeconds hour = 0;  // the hour's start
    float fa = 0;         // dB above kT0b
    SpanMask spans = 0;
};

// One band within one span.
struct SpanBandFacts {
    std::int64_t readings = 0;
    std::size_t hours = 0;  // clock hours with a value, within the chosen hours of the day
    std::size_t days = 0;   // days with at least half of the chosen hours (see DayValues)
    std::int64_t gaps = 0;
    std::map<std::string, std::int64_t> gapReasons;
};

struct SpanFacts {
    LogSpan span;  // both ends given
    std::int64_t readings = 0;
    std::int64_t damaged = 0;  // readings with a bandwidth of 0 or below, left out
    std::int64_t gaps = 0;
    UtcSeconds first = 0;  // the first and last reading; 0 without readings
    UtcSeconds last = 0;
    std::set<std::string> receivers;  // the receiver set-up with its bandwidth
    std::set<std::string> locators;
    std::map<LogBand, SpanBandFacts, LogBandOrder> bands;
};

struct BandSeries {
    LogBand band;
    std::vector<BandHour> hours;  // every hour of the day, oldest first
    double bandwidthHz = 0;        // the bandwidth most of the band's readings were taken in
};

// A merged run of gaps of one band for one reason, in the gaps appendix.
struct GapRun {
    UtcSeconds first = 0;
    UtcSeconds last = 0;
    LogBand band;
    std::string reason;
    std::int64_t count = 0;
};

struct CampaignData {
    HourRange hours;
    std::vector<SpanFacts> spans;  // by CampaignSpan; one where there is no comparison
    std::vector<BandSeries> bands;  // by ascending frequency
    std::vector<GapRun> gapRuns;    // by their first gap's time
    std::string locator;            // the latest reading's locator in the whole span

    const SpanFacts& span(CampaignSpan s) const { return spans[static_cast<std::size_t>(s)]; }
    bool compared() const { return spans.size() == CampaignSpanCount; }
};

// The facts of `whole` and, where given, of `before` and `after`, which lie within it.
// Throws LogError when the log cannot be read.
CampaignData QueryCampaignData(StationLog& log, const LogSpan& whole, const LogSpan* before,
                               const LogSpan* after, const HourRange& hours);

}  // namespace fw
