#pragma once
// The reduction of logged readings to one value per UTC clock hour: readings minutes apart
// are not independent, the hours are taken as the unit of comparison.
#include <map>
#include <vector>

#include "stationlog/log_queries.h"
#include "stats/day_values.h"
#include "stats/hour_range.h"

namespace fw {

struct TimedValue {
    UtcSeconds utc = 0;
    double value = 0;
};

// One value for each clock hour (a whole hour of UTC time, such as 2026-03-01 18:00 to
// 19:00) that has values: the median of that hour's values, in the order of the hours.
std::vector<double> HourlyMedians(std::vector<TimedValue> values);
// The same with each value's clock hour.
std::vector<HourValue> HourValues(std::vector<TimedValue> values);

// Each band's hourly noise factor Fa in dB (as the databank export computes it from field
// strength, frequency and bandwidth) from the span's readings whose UTC hour of the day
// lies in `hours`.
using BandHourlyValues = std::map<LogBand, std::vector<double>, LogBandOrder>;
BandHourlyValues QueryHourlyFa(StationLog& log, const LogSpan& span, const HourRange& hours);

}  // namespace fw
