#include "stationlog/station_log_tasks.h"

#include "model/levels.h"
#include "stationlog/log_export.h"
#include "stationlog/log_path.h"

namespace fw {

std::string StationLogPath(const StationLogSettings& settings) {
    return settings.path.empty() ? DefaultStationLogPath() : settings.path;
}

std::string BandOfRow(const MeasRow& row) {
    for (const LogBand& b : AllBands())
        if (b.freqMHz == row.freqMHz) return b.band;
    return {};
}

std::string ExportLogToFile(const std::string& logPath, const LogSpan& span, LogExportFormat format,
                            const std::string& target) {
    if (IsLogFile(target, logPath))
        return "The export must not be written over the station log itself.";
    try {
        StationLog log = StationLog::Open(logPath, StationLog::OpenMode::ReadOnly);
        return WriteLogExportFile(log, span, format, target);
    } catch (const LogError& e) {
        return e.what();
    }
}

}  // namespace fw
