#pragma once
// Uploading a station log to the network's server: what the server lacks, in batches, each
// one transaction that also moves the log's mark on the server, so that an upload stopped
// or killed at any moment and run again leaves every reading on the server exactly once.
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

#include "network/pg_connection.h"
#include "stationlog/station_log.h"

namespace fw {

inline constexpr int DefaultUploadBatch = 20000;

// How far a log has arrived on the server: its highest reading and gap ids there.
struct UploadMark {
    std::int64_t readings = 0;
    std::int64_t gaps = 0;
};

struct UploadCounts {
    std::int64_t readings = 0;  // newly on the server
    std::int64_t gaps = 0;
    std::int64_t alreadyThere = 0;  // readings and gaps the server had before
    std::int64_t damaged = 0;       // damaged readings and gaps of the log, not sent
    UploadMark mark;                // where the log stands on the server afterwards
};

// Sent so far and to be sent in all (readings and gaps), after each batch.
using UploadProgress = std::function<void(std::int64_t sent, std::int64_t total)>;

struct UploadRequest {
    std::string callsign;  // as ParseCallsign gives it
    int batch = DefaultUploadBatch;
    UploadProgress progress;
    std::stop_token stop;
};

// Uploads the log's readings and gaps that the server does not have yet. The log is only
// read. Throws NetworkError (NetworkRefusal where the server's rights refuse it, such as
// another station's upload) with everything before the failing batch kept on the server.
UploadCounts UploadLog(PgConnection& conn, StationLog& log, const UploadRequest& request);

// How many readings and gaps of the log lie past the mark.
std::int64_t RowsAfter(StationLog& log, const UploadMark& mark);

// "uploaded N readings and M gaps (K already there)", and "; D damaged ones left out" where
// there were such.
std::string UploadCountsText(const UploadCounts& counts);

}  // namespace fw
