#include "app/stationlog/monitor_controller.h"

#include "app/window/screen_fit.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/stationlog/monitor_window.h"
#include "app/window/qt_text.h"
#include "app/settings/settings_store.h"
#include "stationlog/station_log_tasks.h"
#include "model/levels.h"
#include "libs/regional.h"
#include "libs/startup_values.h"
#include "logviews/view_frame.h"
#include "monitor/monitor_text.h"
#include "rig/reading.h"
#include "rig/rig_error.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

QString TimeOfDayText(UtcSeconds t) {
    const UtcFields f = UtcFieldsOf(t);
    return QString::asprintf("%02d:%02d:%02d UTC", f.hour, f.minute, f.second);
}

QString PhaseText(const MonitorStatus& s) {
    switch (s.phase) {
        case MonitorStatus::Phase::Sweeping:
            return QStringLiteral("Sweep %1 running").arg(s.sweepsStarted);
        case MonitorStatus::Phase::Waiting:
            return QStringLiteral("Waiting after sweep %1").arg(s.sweepsStarted);
        case MonitorStatus::Phase::Stopping:
            return QStringLiteral("Stopping: restoring the rig…");
        case MonitorStatus::Phase::Finished:
            break;
    }
    return QStringLiteral("Finished after ") + ToQString(CountText(s.sweepsStarted, "sweep"));
}

// Never a time already past: during a sweep the next one is due after it.
QString NextSweepText(const MonitorStatus& s) {
    if (s.phase == MonitorStatus::Phase::Sweeping) return QStringLiteral("Next sweep: after this one");
    if (!s.nextSweep) return QStringLiteral("No further sweep");
    return QStringLiteral("Next sweep: ") + TimeOfDayText(*s.nextSweep);
}

QString ReadingsLoggedText(int count) {
    return ToQString(CountText(count, "reading")) + QStringLiteral(" logged");
}

}  // namespace

MonitorController::MonitorController(Document& document, MessageDialogs& dialogs, QAction& command,
                                     QWidget& windowParent, QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      windowParent_(windowParent),
      runner_(new MonitorRunner(this)) {
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, [this] { MIMonitorClick(); });
    connect(runner_, &MonitorRunner::statusChanged, this,
            [this](const MonitorStatus& s) { showStatus(s); });
    connect(runner_, &MonitorRunner::finished, this,
            [this](const QString& error) { runFinished(error); });
}

void MonitorController::MIMonitorClick() {
    if (!window_) {
        window_ = new MonitorWindow(&windowParent_);
        const MonitorPreferences& p = document_.settings().monitor;
        window_->bands->setText(ToQString(p.bands));
        window_->everySeconds->setValue(p.everySeconds);
        window_->forMinutes->setValue(p.forMinutes);
        connect(window_->start, &QPushButton::clicked, this, [this] { startClick(); });
        connect(window_->stop, &QPushButton::clicked, this, [this] { stopClick(); });
        showRunning(runner_->running());
    }
    if (!window_->isVisible()) FitIntoScreen(*window_);
    window_->show();
    window_->raise();
}

void MonitorController::setStartBlocked(bool blocked) {
    startBlocked_ = blocked;
    if (window_) showRunning(runner_->running());
}

void MonitorController::showRunning(bool running) {
    window_->setRunning(running);
    if (running) return;
    window_->start->setEnabled(!startBlocked_);
    window_->start->setToolTip(startBlocked_ ? QStringLiteral("The rig is in use by Read S-Meter "
                                                              "or Sweep Bands.")
                                             : QString());
}

void MonitorController::startClick() {
    if (!window_ || runner_->running() || startBlocked_) return;
    const char sep = SystemDecimalSeparator();
    MonitorPreferences choice{window_->bands->text().trimmed().toStdString(),
                              window_->everySeconds->value(), window_->forMinutes->value()};
    MonitorJob job;
    job.sep = sep;
    job.logPath = StationLogPath(document_.settings().log);
    if (job.logPath.empty()) {
        dialogs_.show({MessageKind::Error,
                       "No folder for the station log: choose its file in the settings "
                       "(neither XDG_DATA_HOME nor HOME is set)."});
        return;
    }
    job.connection = document_.settings().rig.connection;
    const SdrPreferences& sdr = document_.settings().sdr;
    if (const std::string missing = SdrNotSetUp(sdr); sdr.chosen() && !missing.empty()) {
        dialogs_.show({MessageKind::Error, missing});
        return;
    }
    if (sdr.chosen()) job.sdr = sdr.device;
    job.plan = SweepPlanOf(document_.settings().rig, document_.bandwidthText());
    job.settings.interval = std::chrono::seconds(choice.everySeconds);
    if (choice.forMinutes > 0) job.settings.duration = std::chrono::minutes(choice.forMinutes);
    const std::string& locator = document_.state().Locator;
    if (locator != NoLocatorText) job.settings.locator = locator;
    // No bands named: all of them.
    const std::string refused = PrepareMonitorJob(
        job, choice.bands.empty() ? std::nullopt : std::optional<std::string_view>(choice.bands));
    if (!refused.empty()) {
        dialogs_.show({MessageKind::Warning, refused});
        return;
    }

    AppSettings settings = document_.settings();
    settings.monitor = choice;
    document_.setSettings(settings);
    SaveUserSettings(settings);  // a failure only loses the choices for the next start

    window_->lastSweep->clear();
    window_->gaps->setText(QStringLiteral("Gaps: 0"));
    window_->nextSweep->clear();
    window_->state->setText(job.sdr ? QStringLiteral("Opening the SDR…")
                                    : QStringLiteral("Connecting to the rig…"));
    readingsLogged_ = 0;
    if (!runner_->start(std::move(job))) return;
    showRunning(true);
    emit runningChanged(true);
}

void MonitorController::stopClick() {
    if (!runner_->running()) return;
    runner_->stop();
    window_->stop->setEnabled(false);
    window_->state->setText(QStringLiteral("Stopping after the reading in hand…"));
}

void MonitorController::showStatus(const MonitorStatus& s) {
    readingsLogged_ = s.readingsLogged;
    if (!window_) return;
    QString state = PhaseText(s) + QStringLiteral(", ") + ReadingsLoggedText(s.readingsLogged);
    if (!s.logBusy.empty())
        state += QStringLiteral("\nThe station log is busy (%1): the reading in hand waits and is "
                                "logged as soon as it is free.")
                     .arg(ToQString(s.logBusy));
    window_->state->setText(state);
    window_->nextSweep->setText(NextSweepText(s));
    QString gaps = QStringLiteral("Gaps: %1").arg(s.gapsLogged);
    if (!s.lastError.empty()) gaps += QStringLiteral(" (last: ") + ToQString(s.lastError) + ')';
    window_->gaps->setText(gaps);
    // The last sweep that went over all its bands, so that the table is never half a sweep.
    QStringList lines;
    for (const LogReading& r : s.lastSweepReadings) {
        std::string level;
        AppendFixed(level, r.fieldDbuVm, 1, SystemDecimalSeparator());
        lines << QStringLiteral("%1: %2 dBµV/m")
                     .arg(ToQString(BandLabel(BandOf(r))), ToQString(level));
    }
    for (const LogGap& g : s.lastSweepGaps)
        lines << QStringLiteral("%1: gap, %2").arg(ToQString(g.band), ToQString(g.reason));
    window_->lastSweep->setPlainText(lines.join('\n'));
}

void MonitorController::runFinished(const QString& error) {
    emit runningChanged(false);
    if (!window_) return;
    showRunning(false);
    if (error.isEmpty()) {
        window_->state->setText(QStringLiteral("Monitor ended, ") +
                                ReadingsLoggedText(readingsLogged_));
        window_->nextSweep->clear();
        return;
    }
    window_->state->setText(QStringLiteral("Not running"));
    dialogs_.show({MessageKind::Error, "The monitor stopped: " + error.toStdString()});
}

}  // namespace fw
