#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "model/levels.h"
#include "model/noise_model.h"
#include "sample_log.h"
#include "stationlog/log_stats.h"
#include "stationlog/log_to_list.h"
#include "stationlog/view_data.h"

namespace fw {
namespace {

using namespace test;

TEST(NoiseFactor, AReadingOnAReferenceCurveGivesThatCurvesFa) {
    // The curves' relation at each band frequency, read backwards, for two bandwidths.
    for (const BandEntry& band : BandTable) {
        for (double bw : {2700.0, 500.0}) {
            for (int env = 0; env < 4; ++env) {
                const double L = std::log10(band.frequencyMHz);
                const double fa = NoiseEnvs[env].c - NoiseEnvs[env].d * L;
                const double e = fa + 20 * L + 10 * std::log10(bw) - 98.9;
                EXPECT_NEAR(NoiseFactorDb(e, band.frequencyMHz, bw), fa, 1e-9) << band.text;
            }
        }
    }
    EXPECT_NEAR(NoiseFactorDb(20, 1, 1000), 88.9, 1e-12);
}

TEST(HourlyProfile, MedianAndTenToNinetyPercentRangePerUtcHour) {
    TempFolder folder;
    StationLog log = StationLog::Open(folder.file("log.sqlite"));
    log.addAll(SampleReadings());
    const HourlyProfile p = QueryHourlyProfile(log, {"80m", 3.65}, {}, 0);
    // Hour 0 on two days: 1.5, 7.5, 3.5. Hour 1: 4.
    EXPECT_EQ(p.hours[0].count, 3);
    EXPECT_DOUBLE_EQ(p.hours[0].median, 3.5);
    EXPECT_DOUBLE_EQ(p.hours[0].p10, 1.9);
    EXPECT_DOUBLE_EQ(p.hours[0].p90, 6.7);
    EXPECT_EQ(p.hours[1].count, 1);
    EXPECT_DOUBLE_EQ(p.hours[1].p10, 4);
    for (int h = 2; h < 24; ++h) {
        EXPECT_EQ(p.hours[h].count, 0);
        EXPECT_TRUE(std::isnan(p.hours[h].median));
    }
    // Shown for 10 kHz, every level rises by 10 log(10000 / 2700).
    const HourlyProfile wide = QueryHourlyProfile(log, {"80m", 3.65}, {}, 10000);
    EXPECT_NEAR(wide.hours[0].median - p.hours[0].median, 5.686362358410126, 1e-12);
    // A span, and a free frequency found by its frequency.
    EXPECT_EQ(
        QueryHourlyProfile(log, {"80m", 3.65}, {At("2026-03-02T00:00"), {}}, 0).hours[0].count, 1);
    EXPECT_EQ(QueryHourlyProfile(log, {"", 1}, {}, 0).hours[0].count, 1);
    EXPECT_EQ(QueryHourlyProfile(log, {"", 2}, {}, 0).hours[0].count, 0);
}

// The band medians of the readings, through a log held in memory.
std::vector<BandMedian> MediansOf(const std::vector<LogReading>& readings,
                                  std::optional<double> bandwidthHz = std::nullopt,
                                  std::int64_t mostKept = MostMiddleCandidates) {
    StationLog log = StationLog::Open(":memory:");
    log.addAll(readings);
    return QueryBandMedians(log, {}, bandwidthHz, mostKept);
}

TEST(BandMedians, OddCountTakesTheMiddleReadingEvenCountTheMeanOfTheMiddleTwo) {
    const std::vector<LogReading> all = SampleReadings();
    const std::vector<BandMedian> medians = MediansOf(all);
    ASSERT_EQ(medians.size(), 3u);
    EXPECT_EQ(medians[0].band, (LogBand{"", 1}));
    EXPECT_EQ(medians[0].row, RowFromReading(all[1]));
    // 80 m: 1.5, 3.5, 4, 7.5: the mean of the 3.5 and 4 readings, column by column.
    EXPECT_EQ(medians[1].count, 4);
    EXPECT_EQ(medians[1].row, (MeasRow{3.65, 3.75, 2700, "AntVol", 2.15, 7.375, 24.25, -82.75}));
    EXPECT_EQ(medians[2].row, RowFromReading(all[4]));

    // Two middle readings of different gains agree only on the field strength.
    std::vector<LogReading> mixed = {all[0], all[2]};
    mixed[1].gainDbi = 0;
    EXPECT_EQ(MediansOf(mixed)[0].row, (MeasRow{3.65, 4.5, 2700, "Field", -999, -999, -999, -999}));
    EXPECT_TRUE(MediansOf({}).empty());
}

TEST(BandMedians, EveryReadingIsConvertedToOneBandwidthBeforeTheMedian) {
    // 40 m readings at 500 Hz (3, 4, 5 dBuV/m) and at 2700 Hz (10, 12 dBuV/m).
    auto at = [](double hz, double field) {
        LogReading r = SampleReadings()[0];
        r.band = "40m";
        r.freqMHz = 7.1;
        r.bandwidthHz = hz;
        r.fieldDbuVm = field;
        return r;
    };
    const double up = 10 * std::log10(2700.0 / 500);  // 500 Hz to 2700 Hz
    const std::vector<LogReading> narrowMost = {at(500, 3), at(2700, 10), at(500, 4),
                                                at(2700, 12), at(500, 5)};
    const std::vector<LogReading> tie = {at(500, 3), at(2700, 10), at(500, 4), at(2700, 12)};
    struct Case {
        std::vector<LogReading> readings;
        std::optional<double> bandwidthHz;
        MeasRow expected;
    };
    const std::vector<Case> cases = {
        // Most readings at 500 Hz: 10 and 12 become 2.68 and 4.68; the 4 dB reading is the
        // middle one, whole (unconverted the median would be 5).
        {narrowMost, std::nullopt, RowFromReading(narrowMost[2])},
        // Asked for 2700 Hz: 10, 10.32, 11.32, 12, 12.32; the middle is converted.
        {narrowMost, 2700, MeasRow{7.1, 4 + up, 2700, "Field", -999, -999, -999, -999}},
        // Two and two: the larger bandwidth; the middle two are 10.32 and 11.32.
        {tie, std::nullopt, MeasRow{7.1, 3.5 + up, 2700, "Field", -999, -999, -999, -999}},
    };
    for (const Case& c : cases) {
        const std::vector<BandMedian> m = MediansOf(c.readings, c.bandwidthHz);
        ASSERT_EQ(m.size(), 1u);
        EXPECT_EQ(m[0].bandwidthHz, c.expected.bandwidthHz);
        EXPECT_EQ(m[0].row.bandwidthHz, c.expected.bandwidthHz);
        EXPECT_NEAR(m[0].row.fieldDbuVm, c.expected.fieldDbuVm, 1e-12);
        EXPECT_EQ(m[0].row.entryUnit, c.expected.entryUnit);
        EXPECT_EQ(m[0].row.sUnits, c.expected.sUnits);
    }
}

// Medians found through buckets equal those of sorting every reading: many ties, three
// bandwidths, free frequencies, levels that share a bucket and outliers far beyond any. So do
// those of SQLite's sort, which takes the bands whose middle readings would not fit in memory:
// all bands (none may be kept), and the later ones.
TEST(BandMedians, EqualThoseOfSortingEveryReading) {
    std::mt19937 random(12345);
    const std::vector<LogBand> bands = {{"80m", 3.65}, {"40m", 7.1}, {"", 7.05}, {"", 1}};
    std::vector<LogReading> readings(4001, SampleReadings()[0]);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        LogReading& r = readings[i];
        std::tie(r.band, r.freqMHz) = std::tie(bands[i % 4].band, bands[i % 4].freqMHz);
        r.utc = 1772323200 + random() % 500;  // equal times too
        r.bandwidthHz = std::array{500.0, 2400.0, 2700.0}[random() % 3];
        const auto pick = random() % 100;
        r.fieldDbuVm = pick == 0 ? 1e300 : pick == 1 ? -1e300
                       : pick < 40 ? 10 + (random() % 9) * 0.5  // ties
                                   : 10 + (random() % 100000) / 1e5;  // in a bucket or two
    }
    for (const auto& [display, mostKept] :
         std::vector<std::pair<std::optional<double>, std::int64_t>>{
             {{}, MostMiddleCandidates}, {2400.0, MostMiddleCandidates}, {{}, 0}, {2400.0, 0},
             {{}, 600}}) {
        const std::vector<BandMedian> medians = MediansOf(readings, display, mostKept);
        ASSERT_EQ(medians.size(), 4u);
        for (const BandMedian& m : medians) {
            std::vector<std::tuple<double, UtcSeconds, std::size_t>> sorted;
            for (std::size_t i = 0; i < readings.size(); ++i)
                if (BandOf(readings[i]) == m.band)
                    sorted.emplace_back(LevelForBandwidth(readings[i].fieldDbuVm,
                                                          readings[i].bandwidthHz, m.bandwidthHz),
                                        readings[i].utc, i);
            std::sort(sorted.begin(), sorted.end());
            const std::size_t n = sorted.size();
            EXPECT_EQ(m.count, static_cast<std::int64_t>(n));
            EXPECT_EQ(m.row.fieldDbuVm,
                      (std::get<0>(sorted[(n - 1) / 2]) + std::get<0>(sorted[n / 2])) / 2)
                << BandLabel(m.band) << " keeping " << mostKept;
        }
    }
}

}  // namespace
}  // namespace fw
