#pragma once
// The reduction of hourly values to one value per day. The hours of one evening move
// together (propagation, weather, the neighbours' habits), so the days, not the hours, are
// the independent unit that the comparison counts.
#include <cstdint>
#include <span>
#include <vector>

#include "stats/hour_range.h"

namespace fw {

// The median of one UTC clock hour's values; `hour` counts the hours since 1970-01-01 00:00.
struct HourValue {
    std::int64_t hour = 0;
    double value = 0;
};

// The number of hours of the day in the window of chosen hours, 1..24.
int WindowHourCount(const HourRange& hours);

// A day needs at least half of its window's hours (rounded up) to count.
std::size_t MinHoursOfDay(const HourRange& hours);

// The day (counted from 1970-01-01) of the UTC date on which the window holding clock hour
// `hour` starts: with the hours 22-02, 01:00 belongs to the window of the date before.
std::int64_t WindowDayOf(std::int64_t hour, const HourRange& hours);

struct DayValue {
    std::int64_t day = 0;  // as WindowDayOf counts it
    std::size_t hours = 0;
    double value = 0;  // the median of the day's hourly values
};

// One value per day from hourly values in ascending hour order, all inside `hours`; days
// with fewer than MinHoursOfDay hourly values are left out.
std::vector<DayValue> DayValues(std::span<const HourValue> hourly, const HourRange& hours);

}  // namespace fw
