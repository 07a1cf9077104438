#pragma once
// "Station Details…": the station's details kept in the station log, read and written off the
// window's thread, the command greyed meanwhile.
#include <QObject>

#include "app/jobs/jobs.h"
#include "app/stationlog/station_log_dialogs.h"
#include "app/window/document.h"

class QAction;

namespace fw {

class StationDetailsController : public QObject {
    Q_OBJECT

  public:
    StationDetailsController(Document& document, StationLogDialogs& dialogs, QAction& command,
                             QObject* parent);

    // Reads the details (none where there is no log yet), lets the user edit them and writes
    // what changed into the log, which is made where it is missing; a failure says why.
    void MIStationDetailsClick();

  private:
    void edit(const std::string& path, const StationDetails& current);

    Document& document_;
    StationLogDialogs& dialogs_;
    QAction& command_;
    jobs::Job job_;  // reading or writing the details; the command is greyed meanwhile
};

}  // namespace fw
