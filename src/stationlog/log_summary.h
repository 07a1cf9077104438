#pragma once
// What a station log holds over a span, for `log info`: its file and schema, the first and
// last reading, and per band the readings and gaps with their first and last time.
#include <string>
#include <vector>

#include "stationlog/log_queries.h"

namespace fw {

// Readings or gaps of one band: how many, and the time of the first and the last.
struct LogEntries {
    std::int64_t count = 0;
    UtcSeconds first = 0;
    UtcSeconds last = 0;
};

struct BandSummary {
    LogBand band;
    LogEntries readings;
    LogEntries gaps;
};

struct LogSummary {
    std::string path;
    int schemaVersion = 0;
    std::string quickCheck;         // SQLite's quick check: "ok"
    LogExtent extent;               // readings and gaps of the span
    std::vector<BandSummary> bands;  // every band with a reading or a gap, by frequency
};

// SQLite's quick check of the whole file: "ok", or LogDamagedError with its findings.
std::string QuickCheck(StationLog& log);

// Read within one snapshot, so the figures agree with each other, after the quick check.
LogSummary SummarizeLog(StationLog& log, const LogSpan& span);

// The summary as lines of text: path, schema, span of the readings, then a table of the
// bands with a dash where there is no reading or no gap.
std::vector<std::string> LogSummaryLines(const LogSummary& summary);

}  // namespace fw
