#pragma once
// "Station Log › Compare with Neighbours…": opens its window with the network's server and
// station from the settings, asks the server off the window's thread (Cancel stops it at
// once; the connection has its time limit), shows the plot and the summary line,
// and saves, copies or prints the plot.
#include <QObject>

#include "app/stationlog/station_log_dialogs.h"
#include "app/window/document.h"
#include "app/window/picture_printing.h"
#include "diagram/picture.h"

class QAction;

namespace fw {

class NeighboursWindow;

class NeighboursController : public QObject {
    Q_OBJECT

  public:
    NeighboursController(Document& document, StationLogDialogs& dialogs, QAction& command,
                         QWidget& windowParent, QObject* parent);
    ~NeighboursController() override;

    // Opens the window, or raises the one that is open.
    void open();
    // Starts the comparison the window asks for; a question that is not one says why in
    // the summary instead.
    void compareClick();
    void saveClick();
    void copyClick();
    void printClick();
    void setPrinting(PrinterAccess printers) { printers_ = std::move(printers); }

    NeighboursWindow* window() const { return window_; }
    const DiagramPicture& picture() const { return picture_; }
    bool busy() const { return job_.busy(); }

  private:
    struct Answer;
    void createWindow();
    void finish(const Answer& answer);
    void showBusy(bool busy);

    Document& document_;
    StationLogDialogs& dialogs_;
    QWidget& windowParent_;
    NeighboursWindow* window_ = nullptr;
    DiagramPicture picture_;
    PrinterAccess printers_;
    jobs::Job job_;        // the server's answer; a closed window stops it
    jobs::Jobs printJobs_;
};

}  // namespace fw
