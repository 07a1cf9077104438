#pragma once
// "Measure Noise" and "Sweep Bands…" with the SDR chosen in Rig Settings…: the noise floor
// at the chosen band or frequency, or at each band of a sweep, measured on a worker thread
// (SdrJob) and entered as "AntPwr" rows exactly as typed antenna-power entries of them; the
// spectra go to the Spectrum window.
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <functional>
#include <string>
#include <vector>

#include "app/rig/rig_dialogs.h"
#include "app/window/document.h"
#include "rig/reading.h"

class QAction;
class QWidget;

namespace fw {

struct EntryAccepted;
class SdrJob;
class SpectrumController;
struct SdrJobOutcome;

struct NoiseControls {
    QWidget* window;      // the progress dialog is modal to it, the Spectrum window its child
    QAction* spectrum;    // "Spectrum…"
    std::function<void(const EntryAccepted&)> show;      // the entry group shows a reading
    std::function<void(const std::string&)> status;      // the state in the menu bar
};

class NoiseController : public QObject {
    Q_OBJECT

  public:
    NoiseController(Document& document, RigDialogs& dialogs, const NoiseControls& controls,
                    QObject* parent);

    // Checks the SDR's settings and the targets, then starts the measurements with the
    // progress dialog; false (and a message why) when refused. `gain` as the entry gives it.
    bool start(const std::vector<receiver::Target>& targets, std::optional<std::string> gain,
               bool sweep);
    bool busy() const;
    QProgressDialog* progressDialog() const { return progress_; }
    SpectrumController& spectrum() { return *spectrum_; }

  signals:
    // The measurements ended, their outcome shown.
    void finished();

  private:
    void ended(const SdrJobOutcome& outcome, bool sweep, std::size_t count,
               const std::string& first);

    Document& document_;
    RigDialogs& dialogs_;
    NoiseControls c_;
    SdrJob* job_;
    SpectrumController* spectrum_;
    QPointer<QProgressDialog> progress_;
    std::string notes_;  // overflows and timeouts of the readings so far
    std::size_t done_ = 0;  // readings so far
};

}  // namespace fw
