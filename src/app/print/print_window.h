#pragma once
// The print window: a report's pages in a zoomable preview, the printer list, printing and
// saving as PDF. It shows the noise report of the picture and the measurement list, or any
// report whose pages and pictures the opener gives (the campaign report).
#include <QDialog>
#include <QImage>
#include <QPrinter>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/jobs/jobs.h"
#include "app/window/picture_saving.h"
#include "measure/meas_list.h"
#include "output/cups_print.h"
#include "output/report_page.h"
#include "output/qt/report_render.h"

class QComboBox;
class QLabel;
class QPrintDialog;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace fw {

// Outer geometry of the print window in a screen area of the given size: each side the
// area's less a margin (200, or a tenth of a side under 700), at least 300 and as wide as the
// row of buttons and printer list where the area allows, never larger than the area; centred
// with truncated integer halves.
QRect PrintWindowGeometry(QSize area);

// The page navigator's buttons, in their order from the left.
enum class NavButton {
    PreviousPage,
    NextPage,
    ZoomIn,
    ZoomOut,
    ActualSize,
    FitWidth,
    FitHeight,
    FitWholePage
};
inline constexpr int NavButtonCount = 8;

// The printer list and the Print button while the print server is asked for its printers.
inline constexpr const char* FindingPrintersText = "Finding printers…";

// The printer list, and the warning instead of the print dialog, when the print server gave
// no answer within PrintServerTimeoutSeconds.
inline constexpr const char* SilentPrintServerText = "The print server did not answer";
inline constexpr const char* SilentServerWarningText =
    "The print server did not answer within 30 s, so the report cannot be printed now. "
    "Save it as PDF, or try Print again later.";

// The warning instead of the print dialog when the system lists no printer.
inline constexpr const char* NoPrinterText =
    "No printer is set up, so the report cannot be printed. Set up a printer in the system's "
    "printer settings and try again.";

class TFormPrint : public QDialog {
    Q_OBJECT

  public:
    // Builds the report's pages each time the preview is made; picture items name
    // `pictures` by index.
    using ReportBuilder = std::function<ReportDocument()>;
    // The dialogs must outlive the window.
    TFormPrint(ReportBuilder build, std::vector<QImage> pictures, const QString& caption,
               const QString& pdfName, PictureDialogs& dialogs, QWidget* parent = nullptr);
    // The noise report. The window reads the picture and the list while it is open and
    // changes neither; the list must outlive the window.
    TFormPrint(const QImage& picture, const MeasList& list, std::string versionText,
               PictureDialogs& dialogs, QWidget* parent = nullptr);
    ~TFormPrint() override;

    // Builds the pages from an empty document, fits the whole page and shows page 1.
    void VorschauErzeugen();
    // Asks the print server for its printers off the window's thread, Print saying so; then a
    // warning when there is none, else the system print dialog, then printing the chosen pages
    // with the report's settings, and an error box when that fails. The job goes to the print
    // server off the window's thread; meanwhile Print says so and the window stays open, so
    // that the outcome is shown.
    void ButPrintClick();

    // Asks for a PDF file and writes every page to it, whole or not at all, off the window's
    // thread as printing does; an error box when that fails.
    void ButSavePdfClick();

    // A print or save job is under way: neither starts another, and the window stays open.
    bool jobRunning() const { return jobRunning_; }
    // The print server is being asked for its printers; closing the window does not wait.
    bool findingPrinters() const { return findingPrinters_; }
    void done(int result) override;

    // Shows the print dialog and gives its result; window tests answer it themselves.
    using PrintDialogRunner = std::function<int(QPrintDialog&)>;
    void setPrintDialogRunner(PrintDialogRunner runner) { runPrintDialog_ = std::move(runner); }
    // The print server's printers, asked for off the window's thread; ListCupsPrinters unless
    // a test gives its own. Setting it asks again.
    using PrinterSource = std::function<CupsPrinters()>;
    void setPrinterSource(PrinterSource source);
    // How long the window waits for the printers before it says that the server did not
    // answer; PrintServerTimeoutSeconds unless a test gives its own.
    void setPrinterSearchLimit(std::chrono::milliseconds limit) { searchLimit_ = limit; }
    // Prints a job and gives the failure's text, empty on success; PrintReport unless a
    // window test puts its own.
    using ReportPrinter = std::function<std::string(
        const ReportDocument&, std::span<const QImage>, const ReportPrintJob&)>;
    void setReportPrinter(ReportPrinter print) { print_ = std::move(print); }

    QWidget* navigator() const { return navigator_; }
    QToolButton* navButton(NavButton b) const { return navButtons_[static_cast<int>(b)]; }
    QPushButton* printButton() const { return butPrint_; }
    QPushButton* savePdfButton() const { return butSavePdf_; }
    QComboBox* printerList() const { return printerList_; }
    QScrollArea* previewArea() const { return preview_; }
    QLabel* pageView() const { return pageView_; }

    const ReportDocument& report() const { return report_; }
    // The page shown.
    const ReportPage& page() const { return report_.pages[currentPage_ - 1]; }
    int pageCount() const { return static_cast<int>(report_.pages.size()); }
    int currentPage() const { return currentPage_; }
    int zoom() const { return zoom_; }
    int gap() const { return gap_; }
    // The printer picked in the list (empty: none yet).
    const QString& chosenPrinter() const { return chosenPrinter_; }
    // The print dialog's printer, with the report's settings. Made on first use only, as
    // making it asks the print server.
    QPrinter& printer();

    inline static const QString Caption = QStringLiteral("Print Noise Report");
    inline static const QString SavePdfCaption = QStringLiteral("Save as PDF");
    // The buttons' texts, with their Alt keys.
    inline static const QString PrintCaption = QStringLiteral("&Print");
    inline static const QString SavePdfButtonText = QStringLiteral("&Save as PDF");

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void placeOnScreen();
    void FormShow();
    void FormActivate();
    void buildNavigator();
    // Asks `printerSource_` off the window's thread, the list and Print greyed meanwhile, then
    // fills the list and runs `then`, unless the window is gone by then.
    void findPrinters(std::function<void()> then);
    void fillPrinterList(const CupsPrinters& found);
    void showPrinterSearch(bool searching);
    void PrinterListChange(int index);
    // After the printers were found: the warning or the print dialog and the job.
    void printOnChosenPrinter();
    void navigate(NavButton b);
    void setZoom(int zoom);
    void showPage(int n);
    // The pages the print dialog chose, within the report's.
    ReportPrintJob chosenJob() const;
    // Runs `work` off the window's thread, Print and Save as PDF greyed and `button` reading
    // `busyText`; back here, the text `work` gives, if any, in an error box.
    void runJob(QPushButton* button, const QString& busyText, std::function<std::string()> work);

    ReportBuilder build_;
    std::vector<QImage> pictures_;  // implicitly shared with the opener, not copied
    QString pdfName_;
    PictureDialogs& dialogs_;

    QWidget* navigator_ = nullptr;
    std::array<QToolButton*, NavButtonCount> navButtons_{};
    QPushButton* butPrint_ = nullptr;
    QPushButton* butSavePdf_ = nullptr;
    QComboBox* printerList_ = nullptr;
    QScrollArea* preview_ = nullptr;
    QLabel* pageView_ = nullptr;

    std::unique_ptr<QPrinter> printer_;
    QString chosenPrinter_;
    // Until the first build, one empty page, as a cleared document has.
    ReportDocument report_{{ReportPage{}}};
    int zoom_ = 100;
    int gap_ = 10;
    int currentPage_ = 1;
    PrintDialogRunner runPrintDialog_;
    PrinterSource printerSource_;
    ReportPrinter print_;
    bool jobRunning_ = false;
    bool findingPrinters_ = false;
    int printerSearch_ = 0;  // numbers the searches: only the latest one's answer counts
    std::chrono::milliseconds searchLimit_{std::chrono::seconds(PrintServerTimeoutSeconds)};
    bool serverSilent_ = false;  // the last search was given up
    jobs::Jobs searches_;  // asking for the printers; an answer after the limit is dropped
    jobs::Job job_;        // printing or saving
};

// "Print" on the main window's menu bar: the print window sized and centred on the screen,
// shown modally with the current picture, the measurement list and the version text, its
// messages shown through `dialogs`; destroyed when it closes.
void OpenPrintWindow(QWidget* parent, const QImage& picture, const MeasList& list,
                     const std::string& versionText, PictureDialogs& dialogs);

}  // namespace fw
