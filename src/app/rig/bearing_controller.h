#pragma once
// "Bearing Scan…": the window where a scan is set up, started and stopped; the scan runs on
// a worker (BearingJob) with the receiver of Rig Settings…, and the polar plot grows as the
// readings come in. The picture is saved, copied and printed as the other views' are.
#include <QObject>
#include <optional>
#include <string>
#include <vector>

#include "app/rig/rig_dialogs.h"
#include "app/window/document.h"
#include "app/window/picture_printing.h"
#include "bearing/bearing_estimate.h"
#include "diagram/picture.h"

class QAction;
class QWidget;

namespace fw {

class BearingJob;
class BearingScanWindow;
struct BearingJobOutcome;

class BearingController : public QObject {
    Q_OBJECT

  public:
    BearingController(Document& document, RigDialogs& dialogs, QAction& command,
                      QWidget& windowParent, QObject* parent);

    void open();
    // Checks the inputs and starts the scan; false (and a message why) when refused.
    bool startClick();
    // The first stop turns the rotator back and waits for it; the second leaves it.
    void stopClick();
    void saveClick();
    void copyClick();
    void printClick();
    void setPrinting(PrinterAccess printers) { printers_ = std::move(printers); }

    bool busy() const;
    BearingScanWindow* window() const { return window_; }
    const DiagramPicture& picture() const { return picture_; }
    const std::vector<BearingLevel>& levels() const { return levels_; }

  private:
    void createWindow();
    void redraw();
    void setRunning(bool running);
    void finished(const BearingJobOutcome& outcome);

    Document& document_;
    RigDialogs& dialogs_;
    QWidget& windowParent_;
    BearingJob* job_;
    BearingScanWindow* window_ = nullptr;
    std::string title_;
    std::string unit_;
    std::size_t count_ = 0;  // bearings of the scan
    std::vector<BearingLevel> levels_;
    std::optional<BearingEstimate> estimate_;
    DiagramPicture picture_;
    PrinterAccess printers_;
    jobs::Jobs jobs_;  // asking the print server and printing
};

}  // namespace fw
