#pragma once
// The "Station Log" menu: the monitor, the two views, "Log to Measurement List…" and
// "Export…", and the logging of every entered measurement when the settings ask for it.
#include <QObject>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"

namespace fw {

class MonitorController;
class LogViewController;

class StationLogController : public QObject {
    Q_OBJECT

  public:
    // Non-modal windows (monitor, views) are children of `windowParent`.
    StationLogController(Document& document, Dialogs& dialogs, const MainActions& actions,
                         QWidget& windowParent, QObject* parent);

    // Asks for a span; each band's median over it becomes one row, replacing the list, with
    // the log's locator and the span's end as date/time.
    void MILogToListClick();
    // Asks for the format, the span and the file; writes the export whole or not at all.
    void MIExportClick();

    MonitorController& monitor() { return *monitor_; }
    LogViewController& levelOverTime() { return *levelOverTime_; }
    LogViewController& hourlyProfile() { return *hourlyProfile_; }

  private:
    // The span of the whole log, in whole hours, or none after a message (no log, no
    // readings); the log's path goes to `path`.
    std::optional<LogSpan> wholeSpan(std::string& path);

    Document& document_;
    Dialogs& dialogs_;
    MonitorController* monitor_;
    LogViewController* levelOverTime_;
    LogViewController* hourlyProfile_;
};

}  // namespace fw
