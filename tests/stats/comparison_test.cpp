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

// The window of chosen hours starts on the date it is counted for; a day needs half of its
// window's hours, rounded up.
TEST(DayValues, HoursGroupIntoTheWindowThatStartsOnTheirDate) {
    const std::int64_t day = At("2026-03-02T00:00") / 3600;  // a clock hour at midnight
    struct Case {
        HourRange hours;
        std::vector<int> hoursOfValues;  // from midnight of 2026-03-02, ascending
        std::vector<std::size_t> hoursPerDay;
        std::vector<double> values;
    };
    const std::vector<Case> cases = {
        // 22-02: 00..02 belong to the window that started the evening before.
        {{22, 2}, {-2, -1, 0, 1, 22}, {4}, {1.5}},
        {{22, 2}, {-2, 0, 22, 23, 24}, {3}, {3}},
        // The whole day, 00-23: twelve hours are needed.
        {{0, 23}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 24}, {12}, {5.5}},
        {{18, 18}, {18, 42}, {1, 1}, {0, 1}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        std::vector<HourValue> hourly;
        for (std::size_t j = 0; j < c.hoursOfValues.size(); ++j)
            hourly.push_back({day + c.hoursOfValues[j], static_cast<double>(j)});
        std::vector<double> values;
        std::vector<std::size_t> counts;
        for (const DayValue& d : DayValues(hourly, c.hours)) {
            values.push_back(d.value);
            counts.push_back(d.hours);
        }
        EXPECT_EQ(counts, c.hoursPerDay) << i;
        EXPECT_EQ(values, c.values) << i;
    }
    EXPECT_EQ(WindowDayOf(day + 1, {22, 2}), WindowDayOf(day - 2, {22, 2}));
    EXPECT_EQ(WindowDayOf(day - 2, {22, 2}), At("2026-03-01T00:00") / 86400);
    EXPECT_EQ(MinHoursOfDay({22, 2}), 3u);
    EXPECT_EQ(MinHoursOfDay({0, 23}), 12u);
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
        ASSERT_EQ(days[0].size(), 14u);
        alarms += CompareBand({"40m", 7.1}, days[0], days[1]).pValue < 0.05;
    }
    const double rate = static_cast<double>(alarms) / runs;
    EXPECT_GT(rate, 0.025) << "seeds " << firstSeed << ".." << firstSeed + runs - 1;
    EXPECT_LT(rate, 0.075) << "seeds " << firstSeed << ".." << firstSeed + runs - 1;
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
