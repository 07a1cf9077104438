#include "app/stationlog/station_details_controller.h"

#include <QAction>
#include <filesystem>

#include "app/background/background.h"
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
    RunInBackground(*this, [this, path] {
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
        return Continuation([this, path, details, error] {
            command_.setEnabled(true);
            if (!error.empty()) return dialogs_.show({MessageKind::Error, error});
            edit(path, details);
        });
    });
}

void StationDetailsController::edit(const std::string& path, const StationDetails& current) {
    const std::optional<StationDetails> edited = dialogs_.editStationDetails(current);
    if (!edited || *edited == current) return;
    StationDetailsChange change;
    for (const StationField f : AllStationFields)
        if ((*edited)[f] != current[f]) change.values[static_cast<std::size_t>(f)] = (*edited)[f];
    command_.setEnabled(false);
    RunInBackground(*this, [this, path, change] {
        std::string error;
        try {
            StationLog log = StationLog::OpenCreatingFolder(path);
            WriteStationDetails(log, change);
        } catch (const LogError& e) {
            error = e.what();
        }
        return Continuation([this, error] {
            command_.setEnabled(true);
            if (!error.empty()) dialogs_.show({MessageKind::Error, error});
        });
    });
}

}  // namespace fw
