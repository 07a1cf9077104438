#pragma once
// The "Rig" menu: "Rig Settings…", "Read S-Meter" and "Sweep Bands…", and the connection's
// state in the menu bar. Rig input and output run on a worker thread (RigJob); readings come
// back as rows through the document, exactly as typed antenna-voltage entries of them. With
// the SDR chosen, "Read S-Meter" becomes "Measure Noise" and both measure with the SDR
// (NoiseController).
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/rig/rig_dialogs.h"
#include "app/window/document.h"
#include "rig/sweep.h"
#include "sdr/noise_reading.h"

class QAction;
class QLabel;
class QWidget;

namespace fw {

struct EntryAccepted;
class NoiseController;
class RigJob;
struct RigJobOutcome;

// The entry group as a single reading needs it: where to read and with which gain, and
// showing the reading taken. The main window wires it to the entry group's controller.
struct RigEntrySide {
    std::function<receiver::Target()> target;
    std::function<std::optional<std::string>()> gain;  // none: the reading's default gain
    std::function<void(const EntryAccepted&)> show;
};

struct RigControls {
    QAction* settings;
    QAction* read;
    QAction* sweep;
    QAction* spectrum;  // "Spectrum…"
    QLabel* status;
    QWidget* window;  // the progress dialog is modal to it
    RigEntrySide entry;
};

class RigController : public QObject {
    Q_OBJECT

  public:
    RigController(Document& document, RigDialogs& dialogs, const RigControls& controls,
                  QObject* parent);

    void MIRigSettingsClick();
    void MIReadSMeterClick();
    void MISweepBandsClick();

    // While a reading or sweep runs, the progress dialog with its Cancel button.
    QProgressDialog* progressDialog() const;
    bool busy() const;

  signals:
    // A reading or sweep started (true) or ended (false).
    void busyChanged(bool busy);

  public slots:
    // While blocked (another user of the rig, such as the monitor, runs), Read S-Meter and
    // Sweep Bands are disabled and start nothing.
    void setStartBlocked(bool blocked);
    // An SDR measurement taken elsewhere (the monitor's), for the Spectrum window.
    void showNoise(const fw::receiver::Reading& reading);

  private:
    void enableStarting();
    // Checks the targets, then starts the job with the progress dialog; false when refused.
    bool start(std::vector<receiver::Target> targets, bool sweep);
    // `first` names the first target ("40m", "7,1 MHz").
    void finished(const RigJobOutcome& outcome, bool sweep, std::size_t count,
                  const std::string& first);
    void setStatus(const std::string& state);
    void showIdle();

    Document& document_;
    RigDialogs& dialogs_;
    RigControls c_;
    RigJob* job_;
    NoiseController* noise_;
    QPointer<QProgressDialog> progress_;
    QStringList sweepBands_;  // ticked at first in the next band choice
    bool startBlocked_ = false;
};

}  // namespace fw
