#pragma once
// The middle readings of every band of a span, found without sorting the span: a first pass
// over the readings counts them per band and bandwidth in buckets of their field strength, a
// second pass keeps only the readings of the buckets that can hold a middle one, and those
// few are ordered. Neither pass allocates per reading, and memory stays small however long
// the span; a band whose middle buckets would hold too many readings (nearly all readings
// of one value) is left to SQLite's sort.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "stationlog/log_queries.h"

namespace fw {

// Readings per bucket of 1/16 dB of the measured field strength: a dense run of counters
// over the buckets of ordinary levels, a sparse map for levels far beyond them.
class LevelHistogram {
  public:
    void add(std::int32_t bucket);
    // Every bucket with readings, ascending: visit(bucket, count).
    template <typename Visit>
    void forEach(Visit visit) const {
        for (const auto& [b, count] : far_)
            if (b < first_) visit(b, count);
        for (std::size_t i = 0; i < dense_.size(); ++i)
            if (dense_[i] > 0) visit(first_ + static_cast<std::int32_t>(i), dense_[i]);
        for (const auto& [b, count] : far_)
            if (b >= first_) visit(b, count);
    }

  private:
    std::int32_t first_ = 0;  // the bucket of dense_[0]
    std::vector<std::int64_t> dense_;
    std::map<std::int32_t, std::int64_t> far_;
};

// The bucket of a measured field strength.
std::int32_t LevelBucket(double fieldDbuVm);

// The readings of one band in the span, as the first pass counts them.
struct BandwidthTally {
    double hz = 0;
    std::int64_t count = 0;
    LevelHistogram levels;
};
struct BandTally {
    LogBand band;
    std::int64_t count = 0;
    std::vector<BandwidthTally> bandwidths;  // by ascending bandwidth
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
// one ((count - 1) / 2 and count / 2). Per bandwidth (as BandTally's), the buckets that can
// hold a middle reading; the readings of the buckets below them all lie below every middle
// one.
struct MiddleSearch {
    double bandwidthHz = 0;
    bool sorted = false;  // left to SQLite's sort: too many readings near the middle
    struct Buckets {
        std::int32_t from = 1, to = 0;  // the buckets from .. to; none where from > to
    };
    std::vector<Buckets> near;
    std::int64_t below = 0;     // readings in the buckets below `near`
    std::int64_t nearCount = 0;  // readings in the buckets of `near`
};

// The searches of the bands, from the buckets; `bandwidthHz` where given is every band's,
// else its most used one. At most `mostKept` readings over all bands are kept in memory by
// the second pass; a band that would need more is left to SQLite's sort.
std::vector<MiddleSearch> PlanMiddleSearches(const SpanTally& tally,
                                             std::optional<double> bandwidthHz,
                                             std::int64_t mostKept);

// The second pass: the row ids of each band's middle reading, or its two middle readings,
// in that order; an empty list for a band with `sorted` set, whose ids the caller finds.
std::vector<std::vector<std::int64_t>> MiddleIdsOf(StationLog& log, const LogSpan& span,
                                                   const SpanTally& tally,
                                                   std::vector<MiddleSearch>& searches);

}  // namespace fw
