#pragma once
// The comparison of a band's noise factor before and after a change, over days: counts,
// medians, the Hodges-Lehmann shift with its 95 % interval and the Mann-Whitney p-value of
// the days' values, and the receiver set-ups of both spans.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "stationlog/log_queries.h"
#include "stationlog/log_receiver.h"
#include "stats/hour_range.h"
#include "stats/shift_estimate.h"

namespace fw {

// Fewer days on a side leave the shift, its interval and p empty.
inline constexpr std::size_t MinComparedDays = 5;

struct BandComparison {
    LogBand band;
    std::size_t daysBefore = 0;
    std::size_t daysAfter = 0;
    double medianBefore = 0;  // dB, the median of the days' values; NaN without days
    double medianAfter = 0;
    std::optional<ShiftEstimate> shift;  // after - before
    double pValue = 0;                   // NaN without a shift
    // The hourly values in the span and the chosen hours, also those of days left out.
    std::size_t hoursBefore = 0;
    std::size_t hoursAfter = 0;
    ReceiverSetups receiversBefore;
    ReceiverSetups receiversAfter;

    // Both spans have readings of the band, and the set-ups that took them differ.
    bool receiverChanged() const {
        return !receiversBefore.empty() && !receiversAfter.empty() &&
               receiversBefore != receiversAfter;
    }
};

// The comparison of two samples of day values; they need not be sorted.
BandComparison CompareBand(const LogBand& band, std::vector<double> before,
                           std::vector<double> after);

struct ComparisonRequest {
    LogSpan before;  // both with both ends
    LogSpan after;
    HourRange hours;
    std::vector<LogBand> bands;  // empty: every band with readings in either span
};

// One comparison per band, by ascending frequency. Throws LogError when the log cannot be
// read.
std::vector<BandComparison> QueryComparison(StationLog& log, const ComparisonRequest& request);

// Why the request cannot be compared: "the before and after spans overlap from ... to ...
// UTC", "the before and after spans are the same", "no readings in the after span (...)".
// None where both spans hold readings of the chosen hours and bands. Throws LogError when
// the log cannot be read.
std::optional<std::string> ComparisonRefusal(StationLog& log, const ComparisonRequest& request);

// The overlap part of that, without the log.
std::optional<std::string> SpanOverlapText(const LogSpan& before, const LogSpan& after);

}  // namespace fw
