#include "app/stationlog/station_log_controller.h"

#include <QAction>
#include <QFile>
#include <QMetaObject>
#include <QProgressDialog>

#include "app/logic/app_state.h"
#include "app/print/print_window.h"
#include "app/stationlog/campaign_dialog.h"
#include "app/stationlog/entry_logger.h"
#include "app/stationlog/log_view_controller.h"
#include "app/stationlog/missing_log.h"
#include "app/stationlog/monitor_controller.h"
#include "app/stationlog/station_details_controller.h"
#include "network/stations.h"
#include "stationlog/station_log_tasks.h"
#include "stationlog/log_to_list.h"
#include "stats/span_comparison.h"
#include "output/qt/qimage_picture.h"
#include "output/qt/report_render.h"

namespace fw {

namespace {

// What a campaign report's build hands back: the report with its pictures, or why there is
// none.
struct CampaignBuilt {
    std::optional<CampaignReport> report;
    std::vector<QImage> pictures;
    Message failure;
};

CampaignBuilt BuildCampaign(const std::string& path, const CampaignRequest& request,
                            const NoiseReportTexts& texts, const ItuCoefficientCache& coefficients,
                            const LogWaiting& waiting, std::stop_token stop) {
    CampaignBuilt built;
    try {
        StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly, waiting);
        const std::optional<std::string> refusal =
            request.before
                ? ComparisonRefusal(log, {*request.before, *request.after, request.hours, {}})
                : std::nullopt;
        if (refusal) {
            built.failure = {MessageKind::Information, "Cannot compare: " + *refusal};
            return built;
        }
        CampaignBuild build =
            BuildCampaignReport(log, request, texts, ReportTextWidthMm, coefficients, stop);
        built.report = std::move(build.report);
        if (!built.report) {
            built.failure = {MessageKind::Information, build.reason};
            return built;
        }
        for (const DiagramPicture& p : built.report->pictures)
            built.pictures.push_back(PictureToQImage(p));
    } catch (const LogError& e) {
        built.failure = {MessageKind::Error, e.what()};
    }
    return built;
}

FileDialogRequest ExportRequest(LogExportFormat format) {
    FileDialogRequest r;
    r.title = QStringLiteral("Export Station Log");
    r.filters << QStringLiteral("CSV files (*.csv)") << QStringLiteral("All files (*)");
    r.defaultSuffix = QStringLiteral("csv");
    r.proposedName = format == LogExportFormat::Csv ? QStringLiteral("station-log.csv")
                                                    : QStringLiteral("station-log-databank.csv");
    r.confirmOverwrite = true;
    return r;
}

}  // namespace

StationLogController::StationLogController(Document& document, StationLogDialogs& dialogs,
                                           const MainActions& a, QWidget& windowParent,
                                           QGroupBox& listGroup, QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      windowParent_(windowParent),
      monitor_(new MonitorController(document, dialogs, *a.monitor, windowParent, this)),
      entryLogger_(new EntryLogger(document, dialogs, listGroup, this)),
      levelOverTime_(new LogViewController(document, dialogs, LogViewKind::LevelOverTime,
                                           *a.levelOverTime, windowParent, this)),
      hourlyProfile_(new LogViewController(document, dialogs, LogViewKind::HourlyProfile,
                                           *a.hourlyProfile, windowParent, this)),
      stationDetails_(new StationDetailsController(document, dialogs, *a.stationDetails, this)) {
    logToListAction_ = a.logToList;
    exportAction_ = a.exportLog;
    a.logToList->setEnabled(true);
    connect(a.logToList, &QAction::triggered, this, [this] { MILogToListClick(); });
    a.exportLog->setEnabled(true);
    connect(a.exportLog, &QAction::triggered, this, [this] { MIExportClick(); });
    campaignAction_ = a.campaignReport;
    a.campaignReport->setEnabled(true);
    connect(a.campaignReport, &QAction::triggered, this, [this] { MICampaignReportClick(); });
}

StationLogController::~StationLogController() = default;

void StationLogController::withWholeSpan(QAction& command, WithSpan then) {
    const std::string path = StationLogPath(document_.settings().log);
    if (const std::optional<Message> none = NoLogYet(path)) return dialogs_.show(*none);
    command.setEnabled(false);
    jobs_.run(
        [path](std::stop_token) {
            LogExtent extent;
            std::string error;
            try {
                StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
                extent = ExtentOf(log);
            } catch (const LogError& e) {
                error = e.what();
            }
            return std::pair(extent, error);
        },
        [this, &command, path, then = std::move(then)](const std::pair<LogExtent, std::string>& read) {
            command.setEnabled(true);
            if (!read.second.empty()) return dialogs_.show({MessageKind::Error, read.second});
            if (read.first.readings == 0) return dialogs_.show(NoReadingsYet(path));
            then(path, WholeHoursOf(read.first));
        });
}

void StationLogController::MILogToListClick() {
    withWholeSpan(*logToListAction_, [this](const std::string& path, LogSpan whole) {
        logToList(path, whole);
    });
}

void StationLogController::logToList(const std::string& path, LogSpan whole) {
    const std::optional<LogSpan> span =
        dialogs_.chooseLogSpan(QStringLiteral("Log to Measurement List"), whole);
    if (!span) return;
    // The medians are taken off the window's thread, the command greyed meanwhile.
    logToListAction_->setEnabled(false);
    jobs_.run(
        [path, span = *span](std::stop_token) {
            std::pair<LoggedList, std::string> logged;
            try {
                StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
                logged.first = QueryLoggedList(log, span);
            } catch (const LogError& e) {
                logged.second = e.what();
            }
            return logged;
        },
        [this](std::pair<LoggedList, std::string> logged) {
            logToListAction_->setEnabled(true);
            showLoggedList(std::move(logged.first), logged.second);
        });
}

void StationLogController::showLoggedList(LoggedList logged, const std::string& error) {
    if (!error.empty()) return dialogs_.show({MessageKind::Error, error});
    if (logged.readings == 0)
        return dialogs_.show({MessageKind::Information, NoReadingsInSpanText});
    if (document_.hasUnsavedRows() &&
        !dialogs_.confirm(QStringLiteral("Log to Measurement List"),
                          QStringLiteral("The measurement list has rows that were not saved. "
                                         "Replace them with the station log's medians?")))
        return;
    std::string locator = ListLocator(logged);
    document_.replaceFromFile(std::move(logged.list), std::move(locator),
                              std::move(logged.dateTime), {});
}

void StationLogController::MIExportClick() {
    withWholeSpan(*exportAction_, [this](const std::string& path, LogSpan whole) {
        exportLog(path, whole);
    });
}

void StationLogController::exportLog(const std::string& path, LogSpan whole) {
    const std::optional<int> choice =
        dialogs_.chooseItem(QStringLiteral("Export Station Log"), QStringLiteral("Format"),
                            {QStringLiteral("CSV: one line per reading"),
                             QStringLiteral("Databank: median Fa per band and UTC hour")},
                            0);
    if (!choice || *choice < 0) return;
    const LogExportFormat format = *choice == 0 ? LogExportFormat::Csv : LogExportFormat::Databank;
    const std::optional<LogSpan> span =
        dialogs_.chooseLogSpan(QStringLiteral("Export Station Log"), whole);
    if (!span) return;
    const std::optional<QString> target = dialogs_.saveFileName(ExportRequest(format));
    if (!target) return;
    // The file is written off the window's thread, the command greyed meanwhile.
    exportAction_->setEnabled(false);
    jobs_.run(
        [path, span = *span, format, file = QFile::encodeName(*target).toStdString()](
            std::stop_token) { return ExportLogToFile(path, span, format, file); },
        [this](const std::string& error) {
            exportAction_->setEnabled(true);
            if (!error.empty()) dialogs_.show({MessageKind::Error, error});
        });
}

void StationLogController::MICampaignReportClick() {
    if (campaignJob_.busy()) return;
    withWholeSpan(*campaignAction_, [this](const std::string& path, LogSpan whole) {
        campaignReport(path, whole);
    });
}

void StationLogController::campaignReport(const std::string& path, LogSpan whole) {
    if (campaignJob_.busy()) return;
    std::optional<CampaignRequest> request = dialogs_.chooseCampaign(whole);
    if (!request) return;
    // With the network's server and station set (Station Log › Network…), the report
    // compares each band with the neighbours.
    const NetworkPreferences& network = document_.settings().network;
    if (const std::optional<std::string> call = ParseCallsign(network.station);
        call && !network.server.empty())
        request->neighbours = CampaignNeighbours{network.server, *call, DefaultNeighbourRadiusKm};
    const NoiseReportTexts texts =
        SystemReportTexts(document_.state().VersionText, std::string(ProgramCopyrightText));
    // The log is read and the views drawn off the window's thread; the pages come back here.
    // Cancel, closing the progress window or closing the main window stops the work.
    // While another program holds the log, the progress window says so.
    const auto logBusy = campaignJob_.channel(std::function<void()>([this] {
        if (campaignProgress_) campaignProgress_->setLabelText(QString::fromLatin1(LogWaitingText));
    }));
    const bool started = campaignJob_.start(
        [path, request = *request, texts,
         coefficients = SharedItuCoefficients(document_.state().ProgramDir),
         logBusy](std::stop_token stop) {
            return BuildCampaign(path, request, texts, *coefficients, LogWaiting{logBusy, stop}, stop);
        },
        [this](CampaignBuilt built) {
            campaignAction_->setEnabled(true);
            // Hidden rather than closed, which would count as Cancel; Qt deletes it.
            if (campaignProgress_) {
                campaignProgress_->hide();
                campaignProgress_->deleteLater();
            }
            if (campaignCancelled_) return;  // the user gave it up: nothing to say
            if (!built.report) return dialogs_.show(built.failure);
            TFormPrint window([document = std::move(built.report->document)] { return document; },
                              std::move(built.pictures), QString::fromLatin1(CampaignCaption),
                              QStringLiteral("campaign-report.pdf"), dialogs_, &windowParent_);
            window.exec();
        });
    if (!started) return;
    campaignCancelled_ = false;
    campaignAction_->setEnabled(false);
    showCampaignProgress();
}

void StationLogController::showCampaignProgress() {
    // A busy bar without steps; Cancel, Escape and the close box all signal canceled().
    campaignProgress_ = new QProgressDialog(QStringLiteral("Building the campaign report…"),
                                            QStringLiteral("Cancel"), 0, 0, &windowParent_);
    campaignProgress_->setObjectName(QStringLiteral("CampaignProgress"));
    campaignProgress_->setAttribute(Qt::WA_DeleteOnClose);  // its close box cancels too
    campaignProgress_->setWindowTitle(QString::fromLatin1(CampaignCaption));
    campaignProgress_->setWindowModality(Qt::NonModal);
    campaignProgress_->setMinimumDuration(0);
    campaignProgress_->setAutoClose(false);
    campaignProgress_->setAutoReset(false);
    connect(campaignProgress_, &QProgressDialog::canceled, this, [this] {
        campaignCancelled_ = true;
        campaignJob_.stop();
        if (campaignProgress_) campaignProgress_->setLabelText(QStringLiteral("Cancelling…"));
    });
    campaignProgress_->show();
}

}  // namespace fw
