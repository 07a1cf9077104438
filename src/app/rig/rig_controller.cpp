#include "app/rig/rig_controller.h"

#include <QAction>
#include <QLabel>
#include <QProgressDialog>
#include <QResizeEvent>
#include <QCoreApplication>

#include "app/window/qt_text.h"
#include "app/rig/noise_controller.h"
#include "app/rig/rig_job.h"
#include "app/rig/spectrum_controller.h"
#include "app/settings/settings_store.h"
#include "libs/regional.h"
#include "measure/entry.h"
#include "model/levels.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"

namespace fw {

namespace {

// The short state after a failure, for the menu bar.
std::string FailureState(const std::string& text) {
    if (text.find("not reachable") != std::string::npos) return "not reachable";
    if (text.find(rig::NotRespondingText) != std::string::npos) return "not responding";
    return "failed";
}

}  // namespace

RigController::RigController(Document& document, RigDialogs& dialogs, const RigControls& controls,
                             QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      c_(controls),
      job_(new RigJob(this)),
      noise_(new NoiseController(
          document, dialogs,
          {c_.window, c_.spectrum, c_.entry.show, [this](const std::string& s) { setStatus(s); }},
          this)),
      sweepBands_(BandTableTexts()) {
    connect(noise_, &NoiseController::finished, this, [this] {
        enableStarting();
        emit busyChanged(false);
    });
    c_.settings->setEnabled(true);
    enableStarting();
    connect(c_.settings, &QAction::triggered, this, [this] { MIRigSettingsClick(); });
    connect(c_.read, &QAction::triggered, this, [this] { MIReadSMeterClick(); });
    connect(c_.sweep, &QAction::triggered, this, [this] { MISweepBandsClick(); });
    connect(&document_, &Document::settingsChanged, this, [this] {
        if (!busy()) showIdle();
    });
    showIdle();
}

bool RigController::busy() const {
    return job_->busy() || noise_->busy();
}

void RigController::showNoise(const receiver::Reading& reading) {
    noise_->spectrum().add(reading);
}

QProgressDialog* RigController::progressDialog() const {
    return progress_ ? progress_.data() : noise_->progressDialog();
}

void RigController::setStartBlocked(bool blocked) {
    startBlocked_ = blocked;
    enableStarting();
    if (busy()) return;
    if (blocked)
        setStatus("in use by the monitor");
    else
        showIdle();
}

void RigController::enableStarting() {
    for (QAction* a : {c_.read, c_.sweep}) a->setEnabled(!busy() && !startBlocked_);
}

void RigController::setStatus(const std::string& state) {
    const AppSettings& s = document_.settings();
    const std::string source = s.sdr.chosen() ? "SDR: " + s.sdr.device.args
                                              : "Rig: " + rig::ConnectionLabel(s.rig.connection);
    c_.status->setText(ToQString(source + " — " + state));
    // A shown menu bar places its corner widget only when it is resized itself; a longer
    // text would run past the window's edge.
    if (QWidget* bar = c_.status->parentWidget(); bar && bar->isVisible()) {
        QResizeEvent same(bar->size(), bar->size());
        QCoreApplication::sendEvent(bar, &same);
    }
}

void RigController::showIdle() {
    c_.read->setText(document_.settings().sdr.chosen() ? QStringLiteral("&Measure Noise")
                                                       : QStringLiteral("&Read S-Meter"));
    setStatus("idle");
}

void RigController::MIRigSettingsClick() {
    AppSettings settings = document_.settings();
    std::optional<ReceiverSettings> edited = dialogs_.editRigSettings({settings.rig, settings.sdr});
    if (!edited) return;
    settings.rig = std::move(edited->rig);
    settings.sdr = std::move(edited->sdr);
    document_.setSettings(settings);
    if (const std::optional<Message> failed = SaveUserSettingsOrSayWhy(settings))
        dialogs_.show(*failed);
}

void RigController::MIReadSMeterClick() {
    start({c_.entry.target()}, false);
}

void RigController::MISweepBandsClick() {
    if (busy() || startBlocked_) return;
    const std::optional<QStringList> bands = dialogs_.chooseBands(BandTableTexts(), sweepBands_);
    if (!bands || bands->isEmpty()) return;
    sweepBands_ = *bands;
    std::vector<receiver::Target> targets;
    for (const QString& band : *bands) targets.push_back(receiver::Target::Band(band.toStdString()));
    start(std::move(targets), true);
}

bool RigController::start(std::vector<receiver::Target> targets, bool sweep) {
    if (busy() || startBlocked_) return false;
    if (document_.settings().sdr.chosen()) {
        if (!noise_->start(targets, c_.entry.gain(), sweep)) return false;
        enableStarting();
        emit busyChanged(true);
        return true;
    }
    const char sep = SystemDecimalSeparator();
    const RigSettings& s = document_.settings().rig;
    rig::SweepPlan plan = SweepPlanOf(s, document_.bandwidthText());
    plan.targets = std::move(targets);
    // A gain field the entry method does not use holds no gain; the reading takes the default.
    if (std::optional<std::string> gain = c_.entry.gain()) plan.reading.gain = std::move(*gain);
    // Inputs the entry would refuse are refused before the rig is touched.
    std::string first;
    try {
        rig::CheckSweepPlan(plan, sep);
        first = rig::ResolveTarget(plan.targets.front(), plan.reading, sep).label;
    } catch (const rig::ReadingInputError& e) {
        dialogs_.show({MessageKind::Error, e.what()});
        return false;
    }

    const std::size_t count = plan.targets.size();
    RigJobCallbacks callbacks;
    callbacks.connected = [this, sweep, first] {
        if (!sweep) setStatus("reading " + first + "…");
    };
    callbacks.progress = [this, sweep](const rig::SweepProgress& p) {
        if (sweep) setStatus("sweeping " + p.text + "…");
        if (!progress_ || progress_->wasCanceled()) return;
        progress_->setValue(static_cast<int>(p.index));
        progress_->setLabelText(
            ToQString((sweep ? "Sweeping " : "Reading the S-meter at ") + p.text + "…"));
    };
    callbacks.reading = [this, sweep](const receiver::Reading& r) {
        if (!sweep) c_.entry.show(r.entry);
        document_.appendRow(r.entry.row, RowOrigin::Rig);
    };
    callbacks.finished = [this, sweep, count, first](const RigJobOutcome& outcome) {
        finished(outcome, sweep, count, first);
    };
    if (!job_->start(s.connection, std::move(plan), sep, std::move(callbacks))) return false;

    enableStarting();
    emit busyChanged(true);
    setStatus("connecting…");
    progress_ = ShowJobProgress(
        *job_,
        ToQString(sweep ? "Connecting to the rig…" : "Reading the S-meter at " + first + "…"),
        ToQString(sweep ? "Sweep Bands" : "Read S-Meter"), static_cast<int>(count), c_.window,
        [this] { setStatus("cancelling…"); });
    return true;
}

void RigController::finished(const RigJobOutcome& outcome, bool sweep, std::size_t count,
                             const std::string& first) {
    if (progress_) {
        progress_->close();
        progress_->deleteLater();
    }
    enableStarting();
    emit busyChanged(false);
    const rig::SweepResult& r = outcome.sweep;
    if (!outcome.startFailure.empty()) {
        setStatus(FailureState(outcome.startFailure));
        dialogs_.show({MessageKind::Error,
                       (sweep ? "The sweep could not start: " : "The S-meter could not be read: ") +
                           outcome.startFailure});
        return;
    }
    std::string text;
    if (!r.failure.empty()) {
        setStatus(FailureState(r.failure));
        if (!sweep) {
            text = rig::ReadingFailureText(first, r.failureReason);
        } else {
            text = r.failure + "\n" + std::to_string(r.readings.size()) + " of " +
                   std::to_string(count) + " bands were read; their rows are kept.";
        }
    } else if (r.cancelled) {
        setStatus(sweep ? "sweep cancelled after " + std::to_string(r.readings.size()) + " of " +
                              std::to_string(count) + " bands"
                        : "reading cancelled");
    } else {
        showIdle();
    }
    if (!r.restoreFailure.empty())
        text += (text.empty() ? "" : "\n") +
                std::string("The rig's frequency and mode could not be restored: ") +
                r.restoreFailure;
    if (!text.empty()) dialogs_.show({MessageKind::Error, text});
}

}  // namespace fw
