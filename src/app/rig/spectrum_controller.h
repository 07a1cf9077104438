#pragma once
// "Spectrum…": shows the last SDR measurement (after a sweep, one band of it at a time) in
// its window, follows a measurement while it comes in, and saves, copies and prints the
// picture shown.
#include <QObject>
#include <vector>

#include "app/rig/rig_dialogs.h"
#include "app/window/picture_printing.h"
#include "diagram/picture.h"
#include "sdr/noise_reading.h"

class QAction;
class QWidget;

namespace fw {

class SpectrumWindow;

class SpectrumController : public QObject {
    Q_OBJECT

  public:
    SpectrumController(RigDialogs& dialogs, QAction& command, QWidget& windowParent,
                       QObject* parent);

    // A new measurement begins: its readings replace the ones kept.
    void begin();
    // A reading of it, or the monitor's, which replaces one of the same band or frequency;
    // shown at once where the window is open.
    void add(const receiver::Reading& reading);

    // Shows the window with the last reading; a message while there is none.
    void open();
    void saveClick();
    void copyClick();
    void printClick();
    void setPrinting(PrinterAccess printers) { printers_ = std::move(printers); }

    SpectrumWindow* window() const { return window_; }
    const DiagramPicture& picture() const { return picture_; }

  private:
    void createWindow();
    void redraw();

    RigDialogs& dialogs_;
    QWidget& windowParent_;
    SpectrumWindow* window_ = nullptr;
    std::vector<receiver::Reading> readings_;
    DiagramPicture picture_;
    PrinterAccess printers_;
    jobs::Jobs jobs_;  // asking the print server and printing
};

}  // namespace fw
