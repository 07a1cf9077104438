#pragma once
// The "Rig" menu: "Rig Settings…", "Read S-Meter" and "Sweep Bands…", and the connection's
// state in the menu bar. Rig input and output run on a worker thread (RigJob); readings come
// back as rows through the document, exactly as typed antenna-voltage entries of them.
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QStringList>
#include <string>
#include <vector>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "rig/sweep.h"

class QAction;
class QLabel;

namespace fw {

class RigJob;
struct RigJobOutcome;

struct RigControls {
    QAction* settings;
    QAction* read;
    QAction* sweep;
    QLabel* status;
    // The band, free frequency and gain a reading takes; its fields and diagnostics show it.
    EntryControls entry;
};

class RigController : public QObject {
    Q_OBJECT

  public:
    RigController(Document& document, Dialogs& dialogs, const RigControls& controls,
                  QObject* parent);

    void MIRigSettingsClick();
    void MIReadSMeterClick();
    void MISweepBandsClick();

    // While a reading or sweep runs, the progress dialog with its Cancel button.
    QProgressDialog* progressDialog() const { return progress_; }
    bool busy() const;

  private:
    rig::RigTarget entryTarget() const;
    // Checks the targets, then starts the job with the progress dialog; false when refused.
    bool start(std::vector<rig::RigTarget> targets, bool sweep);
    void showReading(const rig::Reading& reading);
    // `first` names the first target ("40m", "7,1 MHz").
    void finished(const RigJobOutcome& outcome, bool sweep, std::size_t count,
                  const std::string& first);
    void setStatus(const std::string& state);
    void showIdle();

    Document& document_;
    Dialogs& dialogs_;
    RigControls c_;
    RigJob* job_;
    QPointer<QProgressDialog> progress_;
    QStringList sweepBands_;  // ticked at first in the next band choice
};

}  // namespace fw
