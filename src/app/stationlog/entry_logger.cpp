#include "app/stationlog/entry_logger.h"

#include "stationlog/station_log_tasks.h"
#include "libs/startup_values.h"
#include "monitor/rig_sweeper.h"
#include "stationlog/station_log.h"
#include "stationlog/utc_text.h"

namespace fw {

EntryLogger::EntryLogger(Document& document, MessageDialogs& dialogs, QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs) {
    connect(&document_, &Document::rowEntered, this,
            [this](const MeasRow& row, RowOrigin origin) { logRow(row, origin); });
}

void EntryLogger::logRow(const MeasRow& row, RowOrigin origin) {
    if (!document_.settings().log.logEntries) return;
    const std::string error = write(row, origin);
    if (error.empty()) {
        failureShown_ = false;
        return;
    }
    if (failureShown_) return;
    failureShown_ = true;
    dialogs_.show({MessageKind::Error,
                   "The measurement stays in the list, but it could not be written to the "
                   "station log: " +
                       error});
}

std::string EntryLogger::write(const MeasRow& row, RowOrigin origin) {
    const AppSettings& settings = document_.settings();
    const std::string path = StationLogPath(settings.log);
    if (path.empty()) return "no folder for it (neither XDG_DATA_HOME nor HOME is set)";
    const bool fromRig = origin == RowOrigin::Rig;
    const std::string& locator = document_.state().Locator;
    try {
        StationLog log = StationLog::OpenCreatingFolder(path);
        log.add(ReadingFromRow(row, UtcNow(), BandOfRow(row),
                               fromRig ? ReadingSource::Rig : ReadingSource::Typed,
                               fromRig ? RigNameFor(settings.rig.connection) : std::string(),
                               locator == NoLocatorText ? std::string() : locator));
    } catch (const LogError& e) {
        return e.what();
    }
    return {};
}

}  // namespace fw
