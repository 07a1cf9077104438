#include "app/stationlog/network_controller.h"

#include <QAction>
#include <QLabel>

#include "app/settings/settings_store.h"
#include "network/stations.h"
#include "stationlog/station_log_tasks.h"

namespace fw {

NetworkController::NetworkController(Document& document, MessageDialogs& messages,
                                     QAction& command, QWidget& windowParent, QObject* parent)
    : QObject(parent), document_(document), messages_(messages), windowParent_(windowParent) {
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, [this] { MINetworkClick(); });
}

void NetworkController::MINetworkClick() {
    if (dialog_) {
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    dialog_ = new NetworkDialog(document_.settings().network,
                                StationLogPath(document_.settings().log), &windowParent_);
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog_, &QDialog::accepted, this, [this] {
        AppSettings settings = document_.settings();
        settings.network = dialog_->preferences();
        document_.setSettings(settings);
        if (const std::optional<Message> failed = SaveUserSettingsOrSayWhy(settings))
            messages_.show(*failed);
    });
    if (const std::optional<UploadWorkerStatus> uploads = sweepUploads())
        dialog_->result()->setText(QString::fromStdString(
            "After the monitor's sweeps: " + UploadWorkerSummary(*uploads) + "."));
    dialog_->show();
}

void NetworkController::monitorStatus(const MonitorStatus& status) {
    const bool sweepEnded = lastPhase_ == MonitorStatus::Phase::Sweeping &&
                            status.phase != MonitorStatus::Phase::Sweeping;
    lastPhase_ = status.phase;
    const NetworkPreferences& p = document_.settings().network;
    const std::optional<std::string> callsign = ParseCallsign(p.station);
    if (!sweepEnded || !p.uploadAfterSweep || p.server.empty() || !callsign) return;
    const UploadTarget target{p.server, *callsign, StationLogPath(document_.settings().log)};
    if (!worker_ || target.conninfo != workerTarget_.conninfo ||
        target.callsign != workerTarget_.callsign || target.logPath != workerTarget_.logPath) {
        worker_ = std::make_unique<UploadWorker>(target);
        workerTarget_ = target;
    }
    worker_->request();
}

std::optional<UploadWorkerStatus> NetworkController::sweepUploads() const {
    if (!worker_) return std::nullopt;
    return worker_->status();
}

}  // namespace fw
