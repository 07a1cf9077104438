#include "app/stationlog/station_details_controller.h"

#include <QAction>
#include <filesystem>

#include "stationlog/log_path.h"

namespace fw {

StationDetailsController::StationDetailsController(Document& document, StationLogDialogs& dialogs,
                                                   QAction& command, QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs), command_(command) {
    command_.setEnabled(true);
    connect(&command_, &QAction::triggered, this, [this] { MIStationDetailsClick(); });
}

void StationDetailsController::MIStationDetailsClick() {
    const std::string path = StationLogPath(document_.settings().log);
    command_.setEnabled(false);
    job_.start([path](std::stop_token) {
        StationDetails details;
        std::string error;
        try {
            std::error_code ec;
            if (std::filesystem::exists(path, ec)) {
                StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
                details = ReadStationDetails(log);
            }
        } catch (const LogError& e) {
            error = e.what();
        }
        return std::pair(details, error);
    }, [this, path](const std::pair<StationDetails, std::string>& read) {
        command_.setEnabled(true);
        if (!read.second.empty()) return dialogs_.show({MessageKind::Error, read.second});
        edit(path, read.first);
    });
}

void StationDetailsController::edit(const std::string& path, const StationDetails& current) {
    const std::optional<StationDetails> edited = dialogs_.editStationDetails(current);
    if (!edited || *edited == current) return;
    StationDetailsChange change;
    for (const StationField f : AllStationFields)
        if ((*edited)[f] != current[f]) change.values[static_cast<std::size_t>(f)] = (*edited)[f];
    command_.setEnabled(false);
    job_.start([path, change](std::stop_token) {
        std::string error;
        try {
            StationLog log = StationLog::OpenCreatingFolder(path);
            WriteStationDetails(log, change);
        } catch (const LogError& e) {
            error = e.what();
        }
        return error;
    }, [this](const std::string& error) {
        command_.setEnabled(true);
        if (!error.empty()) dialogs_.show({MessageKind::Error, error});
    });
}

}  // namespace fw
