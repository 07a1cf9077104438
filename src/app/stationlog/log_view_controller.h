#pragma once
// One of the station log's views ("Level over Time…", "24-Hour Profile…"): opens its window
// with the log's whole span and bands, redraws whenever the span or the bands change, and
// saves or copies the picture shown.
#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/stationlog/station_log_dialogs.h"
#include "app/window/document.h"
#include "logviews/log_view_picture.h"
#include "app/window/picture_printing.h"

class QAction;

namespace fw {

class LogViewWindow;

class LogViewController : public QObject {
    Q_OBJECT

  public:
    LogViewController(Document& document, StationLogDialogs& dialogs, LogViewKind kind, QAction& command,
                      QWidget& windowParent, QObject* parent);
    ~LogViewController() override;

    // Opens the log (it must exist), fills in its span and bands, draws and shows.
    void open();
    // Draws the view for the window's span and bands; a failure is shown once.
    void redraw();
    void saveClick();
    void copyClick();
    // Prints the view on one page, on a printer chosen from the installed ones. The print
    // server is asked for its printers and given the job off the window's thread, the Print
    // button saying so meanwhile.
    void printClick();

    // The installed printers, and the job's hand-over (empty text or why it failed).
    using PrinterNames = decltype(PrinterAccess::list);
    using PrintJob = decltype(PrinterAccess::job);
    void setPrinting(PrinterNames names, PrintJob job);

    LogViewWindow* window() const { return window_; }
    const DiagramPicture& picture() const { return picture_; }

  private:
    LogViewRequest request() const;
    void createWindow();

    Document& document_;
    StationLogDialogs& dialogs_;
    LogViewKind kind_;
    QWidget& windowParent_;
    LogViewWindow* window_ = nullptr;
    std::unique_ptr<ItuCoefficientCache> coefficients_;
    std::string logPath_;
    std::vector<LogBand> bands_;  // of the log, in the window's order
    DiagramPicture picture_;
    bool filling_ = false;  // the window is being filled in: no redraw yet
    PrinterNames printerNames_;
    PrintJob printJob_;
};

}  // namespace fw
