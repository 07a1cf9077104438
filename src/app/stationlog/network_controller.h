#pragma once
// "Station Log › Network…": opens the network dialog beside the window and keeps its server,
// station and "upload after every sweep" in the settings when it is closed with OK. Told of
// the monitor's sweeps, it uploads after each one in the background where the settings ask.
#include <QObject>
#include <QPointer>
#include <memory>

#include "app/stationlog/network_dialog.h"
#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "monitor/monitor.h"
#include "network/upload_worker.h"

class QAction;

namespace fw {

class NetworkController : public QObject {
    Q_OBJECT

  public:
    NetworkController(Document& document, MessageDialogs& messages, QAction& command,
                      QWidget& windowParent, QObject* parent);

    // Opens the dialog, or raises the one that is open.
    void MINetworkClick();
    NetworkDialog* dialog() const { return dialog_; }
    // The monitor's status: the end of each sweep asks for an upload; asking never waits.
    void monitorStatus(const MonitorStatus& status);
    // What the uploads after the sweeps achieved; none before the first.
    std::optional<UploadWorkerStatus> sweepUploads() const;

  private:
    Document& document_;
    MessageDialogs& messages_;
    QWidget& windowParent_;
    QPointer<NetworkDialog> dialog_;
    MonitorStatus::Phase lastPhase_ = MonitorStatus::Phase::Finished;
    std::unique_ptr<UploadWorker> worker_;  // for the target it was made for
    UploadTarget workerTarget_;
};

}  // namespace fw
