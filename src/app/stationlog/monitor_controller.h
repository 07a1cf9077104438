#pragma once
// "Monitor…" in the "Station Log" menu: opens the monitor window, starts the monitor on a
// worker thread with the window's bands, interval and duration and the rig settings, and
// shows its status while the user goes on working. Stop ends it after the reading in hand;
// destroying the controller (closing the main window) stops it and waits for it.
#include <QObject>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/stationlog/monitor_runner.h"

class QAction;

namespace fw {

class MonitorWindow;

class MonitorController : public QObject {
    Q_OBJECT

  public:
    // The monitor window is created on first use as a child of `windowParent`.
    MonitorController(Document& document, MessageDialogs& dialogs, QAction& command, QWidget& windowParent,
                      QObject* parent);

    void MIMonitorClick();
    // Checks the window's choices and the rig settings, stores the choices, starts.
    void startClick();
    void stopClick();

    MonitorWindow* window() const { return window_; }
    const MonitorRunner& runner() const { return *runner_; }
    MonitorRunner& runner() { return *runner_; }

  signals:
    // A run started (true) or is over, the rig restored (false).
    void runningChanged(bool running);

  public slots:
    // While blocked (another user of the rig, such as a reading or sweep, runs), Start is
    // disabled and starts nothing.
    void setStartBlocked(bool blocked);

  private:
    // The window's controls for a run in progress or none; Start only when not blocked.
    void showRunning(bool running);
    void showStatus(const MonitorStatus& status);
    void runFinished(const QString& error);

    Document& document_;
    MessageDialogs& dialogs_;
    QWidget& windowParent_;
    MonitorWindow* window_ = nullptr;
    MonitorRunner* runner_;
    int readingsLogged_ = 0;  // by the run in progress or the last one
    bool startBlocked_ = false;
};

}  // namespace fw
