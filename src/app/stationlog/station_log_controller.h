#pragma once
// The "Station Log" menu: the monitor, the two views, "Log to Measurement List…" and
// "Export…", "Campaign Report…", and the logging of every entered measurement when the settings ask for it.
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <memory>

class QGroupBox;

#include "app/jobs/jobs.h"
#include "app/stationlog/station_log_dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "stationlog/log_to_list.h"

namespace fw {

class EntryLogger;
class MonitorController;
class LogViewController;
class StationDetailsController;

class StationLogController : public QObject {
    Q_OBJECT

  public:
    // Non-modal windows (monitor, views) are children of `windowParent`; the title of
    // `listGroup` says while entered measurements are being logged.
    StationLogController(Document& document, StationLogDialogs& dialogs, const MainActions& actions,
                         QWidget& windowParent, QGroupBox& listGroup, QObject* parent);
    ~StationLogController() override;

    // Asks for a span; each band's median over it becomes one row, replacing the list, with
    // the log's locator and the span's end as date/time. The log is read off the window's
    // thread, the command greyed meanwhile.
    void MILogToListClick();
    // Asks for the format, the span and the file; writes the export whole or not at all, off
    // the window's thread, the command greyed meanwhile.
    void MIExportClick();
    // Asks for the spans and hours, builds the campaign report off the window's thread and
    // then opens the print window with its pages, or says why there are none. The command is
    // greyed meanwhile, and a progress window offers to cancel; a cancelled build shows
    // nothing.
    void MICampaignReportClick();

    MonitorController& monitor() { return *monitor_; }
    EntryLogger& entryLogger() { return *entryLogger_; }
    LogViewController& levelOverTime() { return *levelOverTime_; }
    LogViewController& hourlyProfile() { return *hourlyProfile_; }

  private:
    // Looks up the span of the whole log, in whole hours, off the window's thread, `command`
    // greyed meanwhile; then `then` with the log's path and the span, or a message (no log,
    // no readings) instead.
    using WithSpan = std::function<void(const std::string& path, LogSpan whole)>;
    void withWholeSpan(QAction& command, WithSpan then);
    // The commands' steps once the log's span is known.
    void logToList(const std::string& path, LogSpan whole);
    void exportLog(const std::string& path, LogSpan whole);
    void campaignReport(const std::string& path, LogSpan whole);
    // The medians read for Log to Measurement List, or why they could not be read.
    void showLoggedList(LoggedList logged, const std::string& error);
    // The progress window of a campaign report being built.
    void showCampaignProgress();

    Document& document_;
    StationLogDialogs& dialogs_;
    QWidget& windowParent_;
    MonitorController* monitor_;
    EntryLogger* entryLogger_;
    LogViewController* levelOverTime_;
    LogViewController* hourlyProfile_;
    QAction* logToListAction_ = nullptr;
    QAction* exportAction_ = nullptr;
    QAction* campaignAction_ = nullptr;
    StationDetailsController* stationDetails_;
    QPointer<QProgressDialog> campaignProgress_;  // while a campaign report is being built
    bool campaignCancelled_ = false;
    jobs::Jobs jobs_;         // spans, medians and exports
    jobs::Job campaignJob_;
};

}  // namespace fw
