#include "stats/day_values.h"

#include "libs/median.h"

namespace fw {

namespace {

// Division rounded down also below zero.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - (a % b < 0 ? 1 : 0);
}

}  // namespace

int WindowHourCount(const HourRange& hours) {
    return (hours.last - hours.first + 24) % 24 + 1;
}

std::size_t MinHoursOfDay(const HourRange& hours) {
    return static_cast<std::size_t>((WindowHourCount(hours) + 1) / 2);
}

std::int64_t WindowDayOf(std::int64_t hour, const HourRange& hours) {
    return FloorDiv(hour - hours.first, 24);
}

std::vector<DayValue> DayValues(std::span<const HourValue> hourly, const HourRange& hours) {
    const std::size_t needed = MinHoursOfDay(hours);
    std::vector<DayValue> days;
    std::vector<double> values;
    for (std::size_t i = 0; i < hourly.size();) {
        const std::int64_t day = WindowDayOf(hourly[i].hour, hours);
        values.clear();
        for (; i < hourly.size() && WindowDayOf(hourly[i].hour, hours) == day; ++i)
            values.push_back(hourly[i].value);
        if (values.size() >= needed) days.push_back({day, values.size(), Median(values)});
    }
    return days;
}

}  // namespace fw
