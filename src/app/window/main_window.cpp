#include "app/window/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <algorithm>

#include "app/diagram/display_controller.h"
#include "app/entry/entry_controller.h"
#include "app/info/info_controller.h"
#include "app/entry/locator_controller.h"
#include "app/info/mail_controller.h"
#include "app/entry/meas_list_controller.h"
#include "app/diagram/picture_controller.h"
#include "app/diagram/print_controller.h"
#include "app/rig/bearing_controller.h"
#include "app/rig/rig_controller.h"
#include "app/settings/settings_controller.h"
#include "app/settings/settings_store.h"
#include "app/window/qt_dialogs.h"
#include "app/stationlog/entry_logger.h"
#include "app/stationlog/monitor_controller.h"
#include "app/stationlog/monitor_runner.h"
#include "app/stationlog/neighbours_controller.h"
#include "app/stationlog/network_controller.h"
#include "app/stationlog/station_log_controller.h"

namespace fw {

MainWindow::MainWindow(WindowDialogs* dialogs, const QString& programFilePath) {
    if (!dialogs) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;
    document_ = new Document(this);
    controllers_.setParent(this);
    // Layout stays off while the window is built, so no size change is acted on yet.
    document_->setAutoLayout(false);
    controls_ = BuildMainControls(*this, document_->listModel());
    const MainActions& a = controls_.actions;
    const std::array<QAction*, 2> layers{a.decileBands, a.atmosphericNoise};
    display_ = new DisplayController(*document_, *dialogs_, DisplayGroup(controls_), layers,
                                     *this, &controllers_);
    entry_ = new EntryController(*document_, *dialogs_, EntryGroup(controls_), &controllers_);
    measList_ = new MeasListController(*document_, *dialogs_, *controls_.LBUserData, a,
                                       &controllers_);
    locator_ = new LocatorController(*document_, *dialogs_, *a.enterLocator, &controllers_);
    settings_ = new SettingsController(*document_, *dialogs_, *a.settings, &controllers_);
    EntryController& entry = *entry_;
    const RigEntrySide entrySide{[&entry] { return entry.readingTarget(); },
                                 [&entry] { return entry.readingGain(); },
                                 [&entry](const EntryAccepted& e) { entry.showRigReading(e); }};
    rig_ = new RigController(
        *document_, *dialogs_,
        RigControls{a.rigSettings, a.rigRead, a.rigSweep, a.rigSpectrum, a.rigStatus,
                    controls_.window, entrySide},
        &controllers_);
    bearing_ = new BearingController(*document_, *dialogs_, *a.rigBearing, *controls_.window,
                                     &controllers_);
    document_->setSettings(LoadUserSettings());

    setOuterSize(design::Window);
    placeOnScreen();
    controls_.client->installEventFilter(this);
    FormCreate(programFilePath.isEmpty() ? QCoreApplication::applicationFilePath()
                                         : programFilePath);
    mail_ = new MailController(*document_, *dialogs_, *a.sendMail, *this, &controllers_);
    info_ = new InfoController(*document_, *dialogs_, a, &controllers_);
    print_ = new PrintController(*document_, *a.print, *this, *dialogs_, &controllers_);
    picture_ = new PictureController(*document_, *dialogs_, a, &controllers_);
    stationLog_ = new StationLogController(*document_, *dialogs_, a, *this, *controls_.GBUD,
                                           &controllers_);
    network_ = new NetworkController(*document_, *dialogs_, *a.network, *this, &controllers_);
    neighbours_ = new NeighboursController(*document_, *dialogs_, *a.compareNeighbours, *this,
                                           &controllers_);
    // One user of the rig at a time: a reading or sweep and the monitor hold each other's start.
    MonitorController& monitor = stationLog_->monitor();
    connect(rig_, &RigController::busyChanged, &monitor, &MonitorController::setStartBlocked);
    connect(&monitor, &MonitorController::runningChanged, rig_,
            &RigController::setStartBlocked);
    // After each of the monitor's sweeps the log may be uploaded to the network's server.
    connect(&monitor.runner(), &MonitorRunner::statusChanged, network_,
            &NetworkController::monitorStatus);
    // The monitor's SDR measurements go to the Spectrum window too.
    connect(&monitor.runner(), &MonitorRunner::noiseMeasured, rig_, &RigController::showNoise);
}

MainWindow::~MainWindow() = default;

void MainWindow::placeOnScreen() {
    QPoint pos(design::WindowLeft, design::WindowTop);
    // On a screen too small for the designed size and place, shrink the window to the screen
    // (not below its minimum size), then move it left and up so that it fits.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        const Size fitted = FitIntoArea(outerSize(), {avail.width(), avail.height()});
        if (fitted != outerSize()) setOuterSize(fitted);
        const Size outer = outerSize();
        pos.setX(std::max(avail.left(), std::min(pos.x(), avail.right() + 1 - outer.width)));
        pos.setY(std::max(avail.top(), std::min(pos.y(), avail.bottom() + 1 - outer.height)));
    }
    move(pos);
}

void MainWindow::FormCreate(const QString& programFilePath) {
    document_->start(StartupAppState(programFilePath.toStdString()));
    setWindowTitle(QString::fromStdString(WindowCaption(document_->state())));
    display_->FormCreate();
    controls_.Memo3->clear();
    entry_->RadioGroup1Click();
    entry_->CBFreqModeClick();
    display_->updateNoise();
}

Size MainWindow::outerSize() const {
    return OuterSizeOf({controls_.client->width(), controls_.client->height()});
}

void MainWindow::setOuterSize(Size outer) {
    const Size client = ClientSizeOf(outer);
    if (layout()) layout()->activate();
    int band = height() - controls_.client->height();
    if (controls_.client->geometry().isEmpty() || band <= 0) band = menuBar()->sizeHint().height();
    resize(client.width, client.height + band);
    // A hidden window lays out only when shown; do it now so the client size is current.
    if (layout() && !isVisible()) layout()->activate();
}

void MainWindow::setResizableBorder(bool resizable) {
    if (resizable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        const Size minClient = ClientSizeOf(MinWindowSize);
        controls_.client->setMinimumSize(minClient.width, minClient.height);
    } else {
        setFixedSize(size());
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Measurements on their way to the station log are written (or their failure shown)
    // before the window goes; a second close does not wait for them on screen.
    EntryLogger& logger = stationLog_->entryLogger();
    if (!logger.idle() && !closeDeferred_) {
        closeDeferred_ = true;
        event->ignore();
        connect(&logger, &EntryLogger::idleAgain, this, &QWidget::close, Qt::SingleShotConnection);
        return;
    }
    QMainWindow::closeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.client && event->type() == QEvent::Resize)
        display_->FormResize(outerSize());
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace fw
