#pragma once
// A span of the log as rows of the measurement list: one row per band with the band's
// median field strength and the levels that go with it.
#include <optional>
#include <string>
#include <vector>

#include "measure/meas_list.h"
#include "stationlog/log_queries.h"

namespace fw {

// The readings near the middles held in memory at most: 24 bytes each, so 24 MB.
inline constexpr std::int64_t MostMiddleCandidates = 1'000'000;

struct BandMedian {
    LogBand band;
    std::int64_t count = 0;   // readings of the band in the span
    double bandwidthHz = 0;   // the bandwidth every reading was converted to
    MeasRow row;
};

// The median row of each band, by ascending frequency. Every reading's field strength is
// first converted to one bandwidth, as the diagram converts it: `bandwidthHz` where given,
// else the bandwidth most of the band's readings in the span were taken with (a tie: the
// larger). The readings of a band are then ordered by that field strength: an odd count
// gives the middle reading's row; an even count the mean of the two middle readings, column
// by column (so every level still matches the field strength), where both have the same
// method and gain and were taken with that bandwidth. Otherwise the row is a field-strength
// row of the median. The row carries the bandwidth.
// Memory stays small however long the span, and no sort of the span is needed: see
// median_select.h; only the middle readings are read whole. At most `mostKept` readings near
// the middles are held in memory; the bands beyond are ordered by SQLite instead.
std::vector<BandMedian> QueryBandMedians(StationLog& log, const LogSpan& span,
                                         std::optional<double> bandwidthHz = std::nullopt,
                                         std::int64_t mostKept = MostMiddleCandidates);

// What "log to measurement list" hands to the window or writes as a USER data file.
struct LoggedList {
    MeasList list;              // rows in ascending frequency
    std::string locator;        // of the span's latest reading with a locator
    std::string dateTime;       // end of the span in local time, "YYYY-MM-DD HH:MM"
    std::int64_t readings = 0;  // readings in the span; 0 means an empty list
};

// The span's end is `span.to` where given, else the time of the last reading. The bandwidth
// as for QueryBandMedians.
LoggedList QueryLoggedList(StationLog& log, const LogSpan& span,
                           std::optional<double> bandwidthHz = std::nullopt);

inline constexpr const char* NoReadingsInSpanText = "No readings in the station log for that span";

// The locator the list is shown and saved with: the logged one, else "NoLoc.".
std::string ListLocator(const LoggedList& logged);

}  // namespace fw
