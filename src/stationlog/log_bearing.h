#pragma once
// Bearing scans as the station log keeps them: when and where they were read, with which
// receiver and rotator, the level at each bearing and the estimate of a complete scan.
#include <optional>
#include <string>
#include <vector>

#include "bearing/bearing_estimate.h"
#include "stationlog/log_queries.h"
#include "stationlog/station_log.h"

namespace fw {

struct LogBearingScan {
    UtcSeconds utc = 0;  // when the scan began
    std::string band;    // the band, or "" for a free frequency
    double freqMHz = 0;
    std::string receiver;  // the rig or the SDR
    std::string rotator;   // "rotctld at HOST:PORT"
    std::string unit;      // of the levels: "dBuV" (an S-meter) or "dBm" (an SDR)
    std::vector<BearingLevel> levels;
    std::optional<BearingEstimate> estimate;

    bool operator==(const LogBearingScan&) const;
};

// Appends the scan and its levels in one transaction. A level or figure that is not a
// finite number is refused (LogError) and nothing is written.
void AddBearingScan(StationLog& log, const LogBearingScan& scan);

// The scans that began within `span`, in time order.
std::vector<LogBearingScan> BearingScansIn(StationLog& log, const LogSpan& span);

}  // namespace fw
