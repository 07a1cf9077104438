#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "stationlog/sample_log.h"
#include "stats/comparison_text.h"
#include "stats/day_values.h"
#include "stats/hourly_values.h"
#include "stats/rank_test.h"
#include "stats/span_comparison.h"

namespace fw {
namespace {

using test::At;

// Expected values computed apart from this program: every difference formed and sorted,
// ranks averaged over ties by counting.
TEST(Comparison, ShiftIntervalAndPOfHandMadeSets) {
    struct Case {
        const char* name;
        std::vector<double> before, after;
        double shift, low, high, p;
    };
    const std::vector<Case> cases = {
        {"ties", {31.5, 32, 32, 33, 34, 34, 36}, {33, 34, 34, 34, 37.5, 38, 40, 41},
         2.5, 0, 6.5, 0.033564952290095797},
        {"equal spans", {20, 21, 22, 23, 24}, {24, 23, 22, 21, 20}, 0, -3, 3, 1},
        {"all the same", {10, 10, 10, 10, 10}, {10, 10, 10, 10, 10, 10}, 0, 0, 0, 1},
        {"apart", {1, 2, 3, 4, 5, 6}, {11, 12, 13, 14, 15, 16, 17}, 10.5, 8, 13,
         0.0034052358212947687},
        {"even count of differences", {5, 1, 4, 2, 3, 9}, {6, 8, 7, 5, 10, 2}, 3, -2, 6,
         0.17197868192455817},
    };
    for (const Case& c : cases) {
        const BandComparison r = CompareBand({"40m", 7.1}, c.before, c.after);
        ASSERT_TRUE(r.shift) << c.name;
        EXPECT_DOUBLE_EQ(r.shift->shift, c.shift) << c.name;
        EXPECT_DOUBLE_EQ(r.shift->ciLow, c.low) << c.name;
        EXPECT_DOUBLE_EQ(r.shift->ciHigh, c.high) << c.name;
        EXPECT_NEAR(r.pValue, c.p, 1e-12) << c.name;
    }
}

TEST(Comparison, FewerThanFiveOrNoDaysGiveCountsAndMediansOnly) {
    const BandComparison none = CompareBand({"40m", 7.1}, {}, {1, 2, 3, 4, 5});
    EXPECT_EQ(none.daysBefore, 0u);
    EXPECT_TRUE(std::isnan(none.medianBefore));
    EXPECT_EQ(none.medianAfter, 3);
    EXPECT_FALSE(none.shift);
    EXPECT_TRUE(std::isnan(none.pValue));
    const BandComparison four = CompareBand({"40m", 7.1}, {4, 1, 3, 2}, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(four.medianBefore, 2.5);
    EXPECT_EQ(four.medianAfter, 3.5);
    EXPECT_FALSE(four.shift);
    EXPECT_EQ(ComparisonVerdict(four),
              "40m: too few days to compare (4 before, 6 after; 5 needed on each side)");
    const std::string csv = ComparisonCsv(std::span(&four, 1));
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), "40m,7.1,4,6,2.500,3.500,,,,,no\r\n");
}

// 22-02: 00-02 count for the evening before; a day needs 3 of 5 hours, 12 of 24, 1 of 1.
TEST(DayValues, HoursGroupIntoTheWindowThatStartsOnTheirDate) {
    using Days = std::vector<std::pair<std::size_t, double>>;  // hours, value
    const auto days = [](HourRange hours, std::vector<int> fromMidnight) {
        std::vector<HourValue> hourly;
        for (std::size_t j = 0; j < fromMidnight.size(); ++j)
            hourly.push_back({At("2026-03-02T00:00") / 3600 + fromMidnight[j], double(j)});
        Days out;
        for (const DayValue& d : DayValues(hourly, hours)) out.push_back({d.hours, d.value});
        return out;
    };
    EXPECT_EQ(days({22, 2}, {-2, -1, 0, 1, 22}), (Days{{4, 1.5}}));
    EXPECT_EQ(days({22, 2}, {-2, 0, 22, 23, 24}), (Days{{3, 3}}));
    EXPECT_EQ(days({0, 23}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 24}), (Days{{12, 5.5}}));
    EXPECT_EQ(days({18, 18}, {18, 42}), (Days{{1, 0}, {1, 1}}));
}

// No change at all, but the whole evening moves from day to day: 14 + 14 days of 6
// evening hours, a day-to-day swing of 2 dB and an hour-to-hour one of 1 dB. The days'
// test must call such logs changed about as often as its 5 % level says.
TEST(Comparison, NoChangeWithADayToDaySwingIsCalledChangedAboutOneTimeInTwenty) {
    const HourRange evening{18, 23};
    const int runs = 2000;
    const unsigned firstSeed = 1;
    int alarms = 0;
    std::vector<double> days[2];
    for (int run = 0; run < runs; ++run) {
        std::mt19937 random(firstSeed + static_cast<unsigned>(run));
        std::normal_distribution<double> dayly(0, 2), hourly(0, 1);
        for (int side = 0; side < 2; ++side) {
            std::vector<HourValue> hours;
            for (int d = 0; d < 14; ++d) {
                const double swing = dayly(random);
                for (int h = 18; h < 24; ++h)
                    hours.push_back({(side * 14 + d) * 24 + h, 30 + swing + hourly(random)});
            }
            days[side].clear();
            for (const DayValue& d : DayValues(hours, evening)) days[side].push_back(d.value);
        }
        alarms += CompareBand({"40m", 7.1}, days[0], days[1]).pValue < 0.05;
    }
    const double rate = static_cast<double>(alarms) / runs;
    EXPECT_NEAR(rate, 0.05, 0.025) << "seeds " << firstSeed << ".." << firstSeed + runs - 1;
}

// Every rank of the difference matrix against all differences sorted: many ties (small
// integers), values whose differences round, and matrices larger than the last gathering.
TEST(Comparison, SelectionEqualsTheSortedDifferencesAtEveryRank) {
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        const auto nb = std::uniform_int_distribution<std::size_t>(1, round < 30 ? 12 : 70)(random);
        const auto na = std::uniform_int_distribution<std::size_t>(1, round < 30 ? 12 : 70)(random);
        std::uniform_int_distribution<int> small(0, 6);
        std::uniform_real_distribution<double> real(-50, 80);
        std::vector<double> before(nb), after(na);
        for (double& v : before) v = round % 2 ? small(random) : real(random) / 3;
        for (double& v : after) v = round % 2 ? small(random) : real(random) / 7;
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        std::vector<double> all;
        for (double a : after)
            for (double b : before) all.push_back(a - b);
        std::sort(all.begin(), all.end());
        for (std::size_t k = 1; k <= all.size(); k += 1 + all.size() / 200)
            ASSERT_EQ(KthDifference(before, after, static_cast<std::int64_t>(k)), all[k - 1])
                << "round " << round << " k " << k;
        ASSERT_EQ(KthDifference(before, after, static_cast<std::int64_t>(all.size())), all.back());
    }
}

TEST(HourlyValues, OneMedianPerClockHourInHourOrder) {
    const UtcSeconds h = At("2026-03-01T18:00");
    // Two hours of the same hour of the day on different days stay apart; the even count
    // takes the mean of its middle values; times before 1970 round down to their hour.
    const std::vector<double> hourly = HourlyMedians({{h + 86400 + 60, 9},
                                                      {h + 59 * 60, 4},
                                                      {h, 1},
                                                      {h + 1800, 2},
                                                      {h + 1200, 10},
                                                      {-1, 7},
                                                      {-3600, 5}});
    EXPECT_EQ(hourly, (std::vector<double>{6, 3, 9}));
}

TEST(HourRange, ReadsAndWrapsPastMidnight) {
    EXPECT_EQ(ParseHourRange("18-23"), (HourRange{18, 23}));
    EXPECT_EQ(ParseHourRange("22-3"), (HourRange{22, 3}));
    for (const char* bad : {"", "18", "24-2", "1-", "-5", "a-b", "1-2-3", "+1-2", "123-1"})
        EXPECT_FALSE(ParseHourRange(bad)) << bad;
    const HourRange night{22, 3};
    std::string inside;
    for (int hour = 0; hour < 24; ++hour) inside += night.contains(hour) ? '1' : '0';
    EXPECT_EQ(inside, "111100000000000000000011");
}

}  // namespace
}  // namespace fw
