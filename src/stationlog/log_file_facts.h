#pragma once
// What names the exact file a report was made from: its name, its SHA-256 digest and what
// SQLite's integrity check says of it.
#include <cstdint>
#include <string>

#include "stationlog/station_log.h"

namespace fw {

struct LogFileFacts {
    std::string name;       // the file's name without its folder
    std::string sha256;     // 64 hexadecimal digits; empty where the file cannot be read
    std::string integrity;  // "ok", or the check's first findings
    // Bytes in the write-ahead file beside the log: commits not yet written into the file
    // itself, which the digest therefore does not cover.
    std::uintmax_t pendingBytes = 0;
};

// Throws LogError when the check cannot run.
LogFileFacts QueryLogFileFacts(StationLog& log);

}  // namespace fw
