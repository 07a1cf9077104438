#include "stationlog/median_select.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fw {

namespace {

// Buckets of 1/16 dB; levels beyond +-2^20 dB share the outermost bucket of their side.
constexpr double BucketsPerDb = 16;
constexpr std::int32_t OuterBucket = 1 << 24;
// The readings near the middles that the second pass keeps in memory, over all bands: 24
// bytes each, so at most 24 MB.
constexpr std::int64_t MostCandidates = 1'000'000;

std::int32_t BucketOf(double level) {
    const double b = std::floor(level * BucketsPerDb);
    if (b <= -OuterBucket) return -OuterBucket;
    if (b >= OuterBucket) return OuterBucket;
    return static_cast<std::int32_t>(b);
}

// The levels of a bucket: [low, high), the outermost ones open to their side.
double BucketLow(std::int32_t b) {
    if (b <= -OuterBucket) return -std::numeric_limits<double>::infinity();
    return b / BucketsPerDb;
}

double BucketHigh(std::int32_t b) {
    if (b >= OuterBucket) return std::numeric_limits<double>::infinity();
    return (b + 1) / BucketsPerDb;
}

// The bands of the log, found by their band text alone or, for a free frequency, by the
// frequency's bits; the key text is reused from row to row.
class BandIndex {
  public:
    static constexpr std::size_t Unknown = static_cast<std::size_t>(-1);

    // The number of the row's band (columns 0 and 1), or Unknown.
    std::size_t find(const SqliteStatement& s) {
        keyOf(s.text(0), s.real(1));
        const auto found = index_.find(key_);
        return found == index_.end() ? Unknown : found->second;
    }
    void add(const LogBand& band, std::size_t number) {
        keyOf(band.band, band.freqMHz);
        index_.emplace(key_, number);
    }

  private:
    void keyOf(const std::string& band, double freqMHz) {
        key_ = band;
        if (!key_.empty()) return;
        key_.assign(1, '\0');
        key_.append(reinterpret_cast<const char*>(&freqMHz), sizeof freqMHz);
    }

    std::string key_;
    std::unordered_map<std::string, std::size_t> index_;
};

std::string SpanQuery(const char* columns) {
    return std::string("SELECT ") + columns +
           " FROM readings WHERE utc >= ? AND utc < ? AND " + SoundReadingSql;
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

SpanTally TallySpan(StationLog& log, const LogSpan& span) {
    SqliteStatement s(log.database(),
                      SpanQuery("band, freq_mhz, bandwidth_hz, field_dbuvm, utc"));
    BindSpan(s, span, 1);
    SpanTally tally;
    BandIndex index;
    while (s.step()) {
        std::size_t number = index.find(s);
        if (number == BandIndex::Unknown) {
            number = tally.bands.size();
            tally.bands.push_back({LogBand{s.text(0), s.real(1)}, 0, {}, {}});
            index.add(tally.bands.back().band, number);
        }
        BandTally& band = tally.bands[number];
        const double bandwidth = s.real(2);
        ++band.count;
        ++band.perBandwidth[bandwidth];
        ++band.buckets[bandwidth][BucketOf(s.real(3))];
        ++tally.readings;
        tally.last = std::max(tally.last, s.integer(4));
    }
    std::sort(tally.bands.begin(), tally.bands.end(),
              [](const BandTally& a, const BandTally& b) { return LogBandOrder{}(a.band, b.band); });
    return tally;
}

double MostUsedBandwidth(const BandTally& tally) {
    double bandwidth = 0;
    std::int64_t most = 0;
    for (const auto& [hz, count] : tally.perBandwidth) {
        if (count < most) continue;  // ascending: a tie goes to the larger
        most = count;
        bandwidth = hz;
    }
    return bandwidth;
}

std::vector<MiddleSearch> PlanMiddleSearches(const SpanTally& tally,
                                             std::optional<double> bandwidthHz) {
    std::vector<MiddleSearch> searches;
    std::int64_t kept = 0;
    for (const BandTally& band : tally.bands) {
        MiddleSearch search;
        search.bandwidthHz = bandwidthHz.value_or(MostUsedBandwidth(band));
        // Each bucket as the levels it holds at the band's bandwidth: the correction of its
        // bandwidth moves it whole.
        std::vector<Interval> intervals;
        for (const auto& [measured, buckets] : band.buckets) {
            const double shift = LevelForBandwidth(0, measured, search.bandwidthHz);
            for (const auto& [b, count] : buckets)
                intervals.push_back({BucketLow(b) + shift, BucketHigh(b) + shift, count});
        }
        search.low = Widened(RankBound(intervals, (band.count - 1) / 2, &Interval::low), -1);
        search.high = Widened(RankBound(intervals, band.count / 2, &Interval::high), 1);
        std::int64_t near = 0;
        for (const Interval& i : intervals)
            if (i.high >= search.low && i.low <= search.high) near += i.count;
        search.sorted = kept + near > MostCandidates;
        if (!search.sorted) kept += near;
        searches.push_back(search);
    }
    return searches;
}

std::vector<std::vector<std::int64_t>> MiddleIdsOf(StationLog& log, const LogSpan& span,
                                                   const SpanTally& tally,
                                                   std::vector<MiddleSearch>& searches) {
    BandIndex index;
    for (std::size_t b = 0; b < tally.bands.size(); ++b) index.add(tally.bands[b].band, b);
    std::vector<std::int64_t> below(tally.bands.size(), 0);
    std::vector<std::vector<Candidate>> near(tally.bands.size());
    SqliteStatement s(log.database(),
                      SpanQuery("band, freq_mhz, bandwidth_hz, field_dbuvm, utc, id"));
    BindSpan(s, span, 1);
    while (s.step()) {
        const std::size_t b = index.find(s);
        if (b == BandIndex::Unknown || searches[b].sorted) continue;
        const MiddleSearch& search = searches[b];
        const double level = LevelForBandwidth(s.real(3), s.real(2), search.bandwidthHz);
        if (level < search.low) {
            ++below[b];
        } else if (level <= search.high) {
            near[b].push_back({level, s.integer(4), s.integer(5)});
        }
    }
    std::vector<std::vector<std::int64_t>> ids(tally.bands.size());
    for (std::size_t b = 0; b < tally.bands.size(); ++b) {
        if (searches[b].sorted) continue;
        const std::int64_t count = tally.bands[b].count;
        const std::int64_t first = (count - 1) / 2 - below[b];
        const std::int64_t second = count / 2 - below[b];
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
