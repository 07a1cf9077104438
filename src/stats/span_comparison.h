#pragma once
// The comparison of a band's hourly noise factor before and after a change: counts,
// medians, the Hodges-Lehmann shift with its 95 % interval and the Mann-Whitney p-value.
#include <cstddef>
#include <optional>
#include <vector>

#include "stationlog/log_queries.h"
#include "stats/hour_range.h"
#include "stats/shift_estimate.h"

namespace fw {

// Fewer hourly values on a side leave the shift, its interval and p empty.
inline constexpr std::size_t MinComparedValues = 5;

struct BandComparison {
    LogBand band;
    std::size_t nBefore = 0;
    std::size_t nAfter = 0;
    double medianBefore = 0;  // dB; NaN without values
    double medianAfter = 0;
    std::optional<ShiftEstimate> shift;  // after - before
    double pValue = 0;                   // NaN without a shift
};

// The comparison of two samples of hourly values; they need not be sorted.
BandComparison CompareBand(const LogBand& band, std::vector<double> before,
                           std::vector<double> after);

struct ComparisonRequest {
    LogSpan before;
    LogSpan after;
    HourRange hours;
    std::vector<LogBand> bands;  // empty: every band with readings in either span
};

// One comparison per band, by ascending frequency. Throws LogError when the log cannot be
// read.
std::vector<BandComparison> QueryComparison(StationLog& log, const ComparisonRequest& request);

}  // namespace fw
