#pragma once
// What the two log views draw, as plain data computed from the log.
#include <array>
#include <span>
#include <vector>

#include "stationlog/log_queries.h"

namespace fw {

// Level over time: one band's field strengths in dB(uV/m), oldest first, corrected to the
// display bandwidth.
struct LevelSeries {
    LogBand band;
    std::vector<UtcSeconds> utc;
    std::vector<double> fieldDbuVm;
};

// One series per band, in the order given; a band without readings gives an empty series.
std::vector<LevelSeries> QueryLevelSeries(StationLog& log, std::span<const LogBand> bands,
                                          const LogSpan& span, double displayBandwidthHz);

// The readings of one UTC hour of the day: their count, median and the 10 % and 90 %
// quantiles, in dB(uV/m) corrected to the display bandwidth. NaN where the count is 0.
struct HourStats {
    int count = 0;
    double median = 0;
    double p10 = 0;
    double p90 = 0;
};

struct HourlyProfile {
    LogBand band;
    std::array<HourStats, 24> hours{};  // index = UTC hour
};

HourlyProfile ComputeHourlyProfile(const LogBand& band, std::span<const LevelPoint> points,
                                   double displayBandwidthHz);
HourlyProfile QueryHourlyProfile(StationLog& log, const LogBand& band, const LogSpan& span,
                                 double displayBandwidthHz);

}  // namespace fw
