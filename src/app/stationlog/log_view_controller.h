#pragma once
// One of the station log's views ("Level over Time…", "24-Hour Profile…"): opens its window
// with the log's whole span and bands, redraws whenever the span or the bands change, and
// saves or copies the picture shown. The view's readings are read and drawn off the window's
// thread.
#include <QByteArray>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>
#include <stop_token>

#include "app/jobs/jobs.h"
#include "app/stationlog/station_log_dialogs.h"
#include "app/window/document.h"
#include "logviews/log_view_picture.h"
#include "app/window/picture_printing.h"

class QAction;
class QTimer;

namespace fw {

class LogViewWindow;

class LogViewController : public QObject {
    Q_OBJECT

  public:
    LogViewController(Document& document, StationLogDialogs& dialogs, LogViewKind kind, QAction& command,
                      QWidget& windowParent, QObject* parent);
    ~LogViewController() override;

    // Opens the log (it must exist), looks up its span and bands off the window's thread, the
    // command greyed meanwhile, then fills them in, draws and shows.
    void open();
    // Reads and draws the view for the window's span and bands off the window's thread, the
    // window saying "Loading…" and Save, Copy and Print greyed meanwhile; a newer redraw
    // replaces one under way. A failure is shown in place of the picture.
    void redraw();
    // A redraw is under way.
    bool loading() const { return loading_; }
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

    // Reads and draws a view off the window's thread, giving up when `stop` is requested;
    // throws LogError when the log cannot be read. Tests put their own.
    using ViewReader = std::function<LogViewPictures(const std::string& logPath, const LogViewRequest&,
                                                     const ItuCoefficientCache&, double ratio,
                                                     std::stop_token stop)>;
    void setViewReader(ViewReader read) { read_ = std::move(read); }

    LogViewWindow* window() const { return window_; }
    const DiagramPicture& picture() const { return picture_; }

  private:
    // The window filled in with the log's whole span and bands, drawn and shown.
    void show(const std::string& path, LogSpan whole, std::vector<LogBand> bands);
    LogViewRequest request() const;
    void createWindow();
    // Gives up the redraw under way, if any: its read ends soon, its picture is not shown.
    void stopLoading();
    void showLoading(bool loading);

    Document& document_;
    StationLogDialogs& dialogs_;
    LogViewKind kind_;
    QAction& command_;
    QWidget& windowParent_;
    LogViewWindow* window_ = nullptr;
    std::string logPath_;
    std::vector<LogBand> bands_;  // of the log, in the window's order
    DiagramPicture picture_;
    QSize drawnSize_;       // the chart's size in the last redraw
    QTimer* resizeWait_;    // a redraw once the window has stopped changing its size
    bool filling_ = false;  // the window is being filled in: no redraw yet
    bool loading_ = false;
    int load_ = 0;  // numbers the redraws: only the latest one's picture is shown
    ViewReader read_;
    PrinterNames printerNames_;
    PrintJob printJob_;
    jobs::Jobs loads_;  // the redraws; a stop gives them all up
    jobs::Jobs jobs_;   // the log's span and bands, and printing
};

}  // namespace fw
