#pragma once
// The station log as the window uses it, without widgets: where it lies, which band a row
// of the list belongs to and the export written to a file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measure/meas_list.h"
#include "stationlog/log_export.h"
#include "stationlog/log_queries.h"

namespace fw {

struct StationLogSettings {
    std::string path;         // empty: station-log.sqlite in the user's data folder
    bool logEntries = false;  // also log every measurement entered in the window
};

// The chosen file, or station-log.sqlite in the user's data folder; empty when there is
// neither (no XDG_DATA_HOME and no HOME).
std::string StationLogPath(const StationLogSettings& settings);

// The band whose frequency the row has ("80m"), or the empty text of a free frequency.
std::string BandOfRow(const MeasRow& row);

// Writes the span's export of the log at `logPath` to `target`, whole or not at all. An
// empty text on success, otherwise the message for the user.
std::string ExportLogToFile(const std::string& logPath, const LogSpan& span, LogExportFormat format,
                            const std::string& target);

}  // namespace fw
