#include "stationlog/median_select.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

namespace fw {

namespace {

// Buckets of 1/16 dB; levels beyond +-2^20 dB share the outermost bucket of their side.
constexpr double BucketsPerDb = 16;
constexpr std::int32_t OuterBucket = 1 << 24;
// Levels within +-1024 dB get dense counters: at most 256 kB per band and bandwidth.
constexpr std::int32_t DenseLimit = 1024 * 16;

// The levels of a bucket: [low, high), the outermost ones open to their side.
double BucketLow(std::int32_t b) {
    if (b <= -OuterBucket) return -std::numeric_limits<double>::infinity();
    return b / BucketsPerDb;
}

double BucketHigh(std::int32_t b) {
    if (b >= OuterBucket) return std::numeric_limits<double>::infinity();
    return (b + 1) / BucketsPerDb;
}

// The bands met so far, found by their band text alone or, for a free frequency, by the
// frequency too. A sweep logs the bands in turn, so the one after the last found is tried
// first.
class BandFinder {
  public:
    static constexpr std::size_t Unknown = static_cast<std::size_t>(-1);

    std::size_t find(std::string_view band, double freqMHz) {
        const std::size_t n = bands_.size();
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = (last_ + 1 + k) % n;
            if (matches(bands_[i], band, freqMHz)) return last_ = i;
        }
        return Unknown;
    }
    std::size_t add(const LogBand& band) {
        bands_.push_back(band);
        return last_ = bands_.size() - 1;
    }

  private:
    static bool matches(const LogBand& known, std::string_view band, double freqMHz) {
        if (known.band != band) return false;
        return !band.empty() || known.freqMHz == freqMHz;
    }

    std::vector<LogBand> bands_;
    std::size_t last_ = 0;
};

// The span's readings with their band, time and level columns (SoundLevelColumns, from
// column 2 on). Over the whole log a plain pass over the table; the time index only pays
// where a span leaves rows out.
constexpr int LevelColumn = 2;

SqliteStatement SpanScan(StationLog& log, const LogSpan& span) {
    const char* time = span.from || span.to ? "utc" : "+utc";
    SqliteStatement s(log.database(), std::string("SELECT band, utc, ") + SoundLevelColumns +
                                          " FROM readings WHERE " + time + " >= ? AND " +
                                          time + " < ?");
    // Within the times a reading can have: the time of every row met is sound.
    BindSpan(s, span, 1);
    return s;
}

std::size_t BandwidthIndex(const std::vector<BandwidthTally>& tallies, double hz) {
    for (std::size_t i = 0; i < tallies.size(); ++i)
        if (tallies[i].hz == hz) return i;
    return tallies.size();
}

struct Interval {
    double low, high;
    std::int64_t count;
};

// A little below and above: the level the second pass computes may differ from the bucket
// bound plus the bandwidth's correction in the last bits.
double Widened(double v, double direction) {
    if (!std::isfinite(v)) return v;
    return v + direction * (1e-9 + 1e-12 * std::fabs(v));
}

// A bound of the level of the reading of rank `rank`, from the intervals: the lowest it can
// have by their low ends (at least rank + 1 readings lie at or above the low end the count by
// low ends reaches there), the highest by their high ends.
double RankBound(std::vector<Interval> intervals, std::int64_t rank, double Interval::*end) {
    std::sort(intervals.begin(), intervals.end(),
              [end](const Interval& a, const Interval& b) { return a.*end < b.*end; });
    std::int64_t seen = 0;
    for (const Interval& i : intervals) {
        seen += i.count;
        if (seen > rank) return i.*end;
    }
    return intervals.back().*end;
}

// The band's search: the bounds of its middle levels, then per bandwidth the buckets that
// reach into them. A bucket's levels at the band's bandwidth are its bounds moved by the
// bandwidth's correction; the level of a reading in it lies within them, ends included.
MiddleSearch SearchOf(const BandTally& band, double bandwidthHz) {
    MiddleSearch search;
    search.bandwidthHz = bandwidthHz;
    std::vector<double> shifts;
    std::vector<Interval> intervals;
    for (const BandwidthTally& w : band.bandwidths) {
        const double shift = LevelForBandwidth(0, w.hz, bandwidthHz);
        shifts.push_back(shift);
        w.levels.forEach([&](std::int32_t b, std::int64_t count) {
            intervals.push_back({BucketLow(b) + shift, BucketHigh(b) + shift, count});
        });
    }
    const double low = Widened(RankBound(intervals, (band.count - 1) / 2, &Interval::low), -1);
    const double high = Widened(RankBound(intervals, band.count / 2, &Interval::high), 1);
    for (std::size_t i = 0; i < band.bandwidths.size(); ++i) {
        MiddleSearch::Buckets near{OuterBucket + 1, -OuterBucket - 1};
        band.bandwidths[i].levels.forEach([&](std::int32_t b, std::int64_t count) {
            if (BucketHigh(b) + shifts[i] < low) {
                search.below += count;
            } else if (BucketLow(b) + shifts[i] <= high) {
                near.from = std::min(near.from, b);
                near.to = std::max(near.to, b);
                search.nearCount += count;
            }
        });
        search.near.push_back(near);
    }
    return search;
}

struct Candidate {
    double level;
    UtcSeconds utc;
    std::int64_t id;
    bool operator<(const Candidate& o) const {
        if (level != o.level) return level < o.level;
        if (utc != o.utc) return utc < o.utc;
        return id < o.id;
    }
};

}  // namespace

void LevelHistogram::add(std::int32_t bucket) {
    if (bucket < -DenseLimit || bucket > DenseLimit) {
        ++far_[bucket];
        return;
    }
    if (dense_.empty()) first_ = bucket;
    if (bucket < first_) {
        dense_.insert(dense_.begin(), static_cast<std::size_t>(first_ - bucket), 0);
        first_ = bucket;
    }
    const auto at = static_cast<std::size_t>(bucket - first_);
    if (at >= dense_.size()) dense_.resize(at + 1, 0);
    ++dense_[at];
}

std::int32_t LevelBucket(double fieldDbuVm) {
    const double b = std::floor(fieldDbuVm * BucketsPerDb);
    if (b <= -OuterBucket) return -OuterBucket;
    if (b >= OuterBucket) return OuterBucket;
    return static_cast<std::int32_t>(b);
}

SpanTally TallySpan(StationLog& log, const LogSpan& span) {
    SqliteStatement s = SpanScan(log, span);
    SpanTally tally;
    BandFinder bands;
    SoundLevels levels;
    while (s.step()) {
        if (!LevelsSound(s, LevelColumn, levels)) continue;
        const std::string_view text = s.textView(0);
        const double freqMHz = levels[0];
        std::size_t number = bands.find(text, freqMHz);
        if (number == BandFinder::Unknown) {
            number = bands.add(LogBand{std::string(text), freqMHz});
            tally.bands.push_back({LogBand{std::string(text), freqMHz}, 0, {}});
        }
        BandTally& band = tally.bands[number];
        const double hz = levels[SoundBandwidth];
        std::size_t w = BandwidthIndex(band.bandwidths, hz);
        if (w == band.bandwidths.size()) band.bandwidths.push_back({hz, 0, {}});
        ++band.bandwidths[w].count;
        band.bandwidths[w].levels.add(LevelBucket(levels[SoundField]));
        ++band.count;
        ++tally.readings;
        tally.last = std::max(tally.last, s.integer(1));
    }
    for (BandTally& band : tally.bands)
        std::sort(band.bandwidths.begin(), band.bandwidths.end(),
                  [](const BandwidthTally& a, const BandwidthTally& b) { return a.hz < b.hz; });
    std::sort(tally.bands.begin(), tally.bands.end(),
              [](const BandTally& a, const BandTally& b) { return LogBandOrder{}(a.band, b.band); });
    return tally;
}

double MostUsedBandwidth(const BandTally& tally) {
    double bandwidth = 0;
    std::int64_t most = 0;
    for (const BandwidthTally& w : tally.bandwidths) {
        if (w.count < most) continue;  // ascending: a tie goes to the larger
        most = w.count;
        bandwidth = w.hz;
    }
    return bandwidth;
}

std::vector<MiddleSearch> PlanMiddleSearches(const SpanTally& tally,
                                             std::optional<double> bandwidthHz,
                                             std::int64_t mostKept) {
    std::vector<MiddleSearch> searches;
    std::int64_t kept = 0;
    for (const BandTally& band : tally.bands) {
        MiddleSearch search = SearchOf(band, bandwidthHz.value_or(MostUsedBandwidth(band)));
        search.sorted = kept + search.nearCount > mostKept;
        if (!search.sorted) kept += search.nearCount;
        searches.push_back(std::move(search));
    }
    return searches;
}

std::vector<std::vector<std::int64_t>> MiddleIdsOf(StationLog& log, const LogSpan& span,
                                                   const SpanTally& tally,
                                                   std::vector<MiddleSearch>& searches) {
    // Each band's readings from the per-band index alone, which holds the columns read;
    // the table only for the few readings in a middle bucket, since a damaged reading was
    // not counted by the first pass.
    SqliteStatement s(log.database(),
                      "SELECT utc, bandwidth_hz, field_dbuvm, id FROM readings"
                      " WHERE band = ?1 AND utc >= ?2 AND utc < ?3"
                      " AND (?1 <> '' OR freq_mhz = ?4)");
    SqliteStatement levelsOf(log.database(), std::string("SELECT ") + SoundLevelColumns +
                                                 " FROM readings WHERE id = ?");
    SoundLevels levels;
    std::vector<std::vector<Candidate>> near(tally.bands.size());
    for (std::size_t b = 0; b < tally.bands.size(); ++b) {
        const MiddleSearch& search = searches[b];
        if (search.sorted) continue;
        const BandTally& band = tally.bands[b];
        near[b].reserve(static_cast<std::size_t>(search.nearCount));
        s.reset();
        s.bind(1, std::string_view(band.band.band));
        BindSpan(s, span, 2);
        s.bind(4, band.band.freqMHz);
        while (s.step()) {
            const double hz = s.real(1);
            const std::size_t w = BandwidthIndex(band.bandwidths, hz);
            if (w == search.near.size()) continue;
            const double field = s.real(2);
            const std::int32_t bucket = LevelBucket(field);
            if (bucket < search.near[w].from || bucket > search.near[w].to) continue;
            const std::int64_t id = s.integer(3);
            levelsOf.reset();
            levelsOf.bind(1, id);
            if (!levelsOf.step() || !LevelsSound(levelsOf, 0, levels)) continue;
            near[b].push_back({LevelForBandwidth(field, hz, search.bandwidthHz), s.integer(0), id});
        }
    }
    std::vector<std::vector<std::int64_t>> ids(tally.bands.size());
    for (std::size_t b = 0; b < tally.bands.size(); ++b) {
        if (searches[b].sorted) continue;
        const std::int64_t count = tally.bands[b].count;
        const std::int64_t first = (count - 1) / 2 - searches[b].below;
        const std::int64_t second = count / 2 - searches[b].below;
        std::vector<Candidate>& c = near[b];
        // Never outside the bounds unless the file disagrees with itself: SQLite's sort then.
        if (first < 0 || second >= static_cast<std::int64_t>(c.size())) {
            searches[b].sorted = true;
            continue;
        }
        std::sort(c.begin(), c.end());
        ids[b].push_back(c[static_cast<std::size_t>(first)].id);
        if (second != first) ids[b].push_back(c[static_cast<std::size_t>(second)].id);
        std::vector<Candidate>().swap(c);
    }
    return ids;
}

}  // namespace fw
