#pragma once
// The middle readings of every band of a span, found without sorting the span: a first pass
// over the readings counts them per band and bandwidth in buckets of their field strength, a
// second pass keeps only the readings whose level can still be a middle one, and those few
// are ordered. Memory stays small however long the span; a band whose middle buckets would
// hold too many readings (nearly all readings of one value) is left to SQLite's sort.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "stationlog/log_queries.h"

namespace fw {

// The readings of one band in the span, as the first pass counts them.
struct BandTally {
    LogBand band;
    std::int64_t count = 0;
    // Per bandwidth (ascending): readings per bucket of 1/16 dB of the measured field
    // strength.
    std::map<double, std::unordered_map<std::int32_t, std::int64_t>> buckets;
    std::map<double, std::int64_t> perBandwidth;
};

struct SpanTally {
    std::vector<BandTally> bands;  // by ascending frequency
    std::int64_t readings = 0;
    UtcSeconds last = 0;  // the latest reading's time; 0 without readings
};

// The first pass: the sound readings of the span per band.
SpanTally TallySpan(StationLog& log, const LogSpan& span);

// The bandwidth most of the band's readings were taken with (a tie: the larger).
double MostUsedBandwidth(const BandTally& tally);

// Where the middle readings of each band lie: the readings of the band ordered by their field
// strength at `bandwidthHz` (then time, then row id), the rank of the lower and upper middle
// one ((count - 1) / 2 and count / 2).
struct MiddleSearch {
    double bandwidthHz = 0;
    bool sorted = false;  // left to SQLite's sort: too many readings near the middle
    double low = 0, high = 0;  // every middle level lies within
};

// The second pass: the row ids of each band's middle reading, or its two middle readings,
// in that order; an empty list for a band with `sorted` set, whose ids the caller finds.
std::vector<std::vector<std::int64_t>> MiddleIdsOf(StationLog& log, const LogSpan& span,
                                                   const SpanTally& tally,
                                                   std::vector<MiddleSearch>& searches);

// The searches of the bands, with the level bounds from the buckets; `bandwidthHz` where given
// is every band's, else its most used one.
std::vector<MiddleSearch> PlanMiddleSearches(const SpanTally& tally,
                                             std::optional<double> bandwidthHz);

}  // namespace fw
