// The print window on Qt's offscreen platform.
#include "app/print/print_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>
#include <vector>

#include "app/scripted_dialogs.h"
#include "libs/regional.h"
#include "output/preview_zoom.h"
#include "output/qt/report_render.h"
#include "support/silent_server.h"

namespace fw {
namespace {

class WidgetAppEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr) return;
        // A desktop screen wide enough for the window's top row as designed; the small-screen
        // tests check the narrow one.
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" FW_DESKTOP_SCREEN);
        // The report's rows are checked as written with a point, whatever the caller's locale.
        qputenv("LC_ALL", "C.UTF-8");
        qputenv("LANG", "C.UTF-8");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        UseCNumericLocale();
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[12] = "print_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

::testing::Environment* const TheAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new WidgetAppEnvironment);

QImage Picture() {
    QImage image(537, 497, QImage::Format_RGB888);
    image.fill(Qt::red);
    return image;
}

MeasList Rows(int n) {
    MeasList list;
    for (int i = 0; i < n; ++i) list.appendRow({1.0 + i, 13.3, 2700, "S-Val", 2.15, 9, 34, -73});
    return list;
}

// Printers are found, and print and save jobs run, off the window's thread: lets them report
// back until `done` holds, at most 10 s.
void WaitForPrintJob(const TFormPrint& window, const std::function<bool()>& done = {}) {
    QElapsedTimer waited;
    waited.start();
    while (!(done ? done() : !window.findingPrinters() && !window.jobRunning()) &&
           waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

CupsPrinters QueueA() { return {{"Queue A"}, ""}; }

std::size_t TextItems(const ReportPage& page) {
    std::size_t n = 0;
    for (const PageItem& item : page.items) n += std::holds_alternative<PageTextItem>(item);
    return n;
}

TEST(PrintWindowGeometry, FollowsTheScreenAreaWithAFloorOf300AndTheTopRow) {
    EXPECT_EQ(PrintWindowGeometry({1920, 1080}), QRect(100, 100, 1720, 880));
    // Odd sizes: integer halves, truncated.
    EXPECT_EQ(PrintWindowGeometry({1367, 769}), QRect(1367 / 2 - 1167 / 2, 384 - 284, 1167, 569));
    EXPECT_EQ(PrintWindowGeometry({1367, 769}).topLeft(), QPoint(100, 100));
    // A small area (800 x 500 is a 1600 x 1000 screen at a scale of 2) keeps a tenth as
    // margin, the top row whole where it fits, and the window within the area.
    EXPECT_EQ(PrintWindowGeometry({800, 500}), QRect(40, 25, 721, 450));
    EXPECT_EQ(PrintWindowGeometry({400, 300}), QRect(0, 0, 400, 300));
    EXPECT_EQ(PrintWindowGeometry({200, 100}), QRect(0, 0, 200, 100));
}

// Against a print server that takes the connection and never answers, the window opens at
// once, says it is finding printers, pages meanwhile and closes without waiting. First of the
// window tests: the window's thread meets CUPS here for the first time.
TEST(PrintWindowSilentServer, OpensAndStaysResponsiveWhileThePrintersAreSought) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("silent.sock").toStdString();
    const testing::SilentServer silent(path);
    qputenv("CUPS_SERVER", QByteArray::fromStdString(path));
    testing::ScriptedDialogs dialogs;
    const MeasList list = Rows(59);
    auto window = std::make_unique<TFormPrint>(Picture(), list, "v 1.0", dialogs);
    window->show();
    window->VorschauErzeugen();
    ASSERT_TRUE(silent.called(10000)) << "the printers are asked for";
    EXPECT_EQ(window->printerList()->currentText(), QString::fromUtf8(FindingPrintersText));
    EXPECT_FALSE(window->printerList()->isEnabled() || window->printButton()->isEnabled());
    window->navButton(NavButton::NextPage)->click();
    EXPECT_EQ(window->currentPage(), 2);
    // At the window's limit the list says that the server did not answer, and so does Print.
    window->setPrinterSearchLimit(std::chrono::milliseconds(50));
    window->setPrinterSource([] { return ListCupsPrinters(); });
    WaitForPrintJob(*window);
    EXPECT_EQ(window->printerList()->currentText(), QString::fromUtf8(SilentPrintServerText));
    window->printButton()->click();
    WaitForPrintJob(*window, [&] { return !dialogs.messages.empty(); });
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QString::fromUtf8(SilentServerWarningText));
    window.reset();
    qunsetenv("CUPS_SERVER");
}

class PrintWindowTest : public ::testing::Test {
  protected:
    QImage picture = Picture();
    MeasList list = Rows(3);
    testing::ScriptedDialogs dialogs;
    std::unique_ptr<TFormPrint> window =
        std::make_unique<TFormPrint>(picture, list, "v 1.0", dialogs);
};

// A window over a list of 59 rows: three pages.
class ThreePageWindowTest : public PrintWindowTest {
  protected:
    void SetUp() override {
        list = Rows(59);
        window->VorschauErzeugen();
    }
};

TEST_F(PrintWindowTest, CaptionBorderAndSizeFromTheScreen) {
    EXPECT_EQ(window->windowTitle(), "Print Noise Report");
    const Qt::WindowFlags f = window->windowFlags();
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(f & Qt::WindowContextHelpButtonHint);
    EXPECT_TRUE(window->isModal());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect expected = PrintWindowGeometry(screen.size());
    EXPECT_EQ(window->minimumSize(), expected.size());
    EXPECT_EQ(window->maximumSize(), expected.size());
    EXPECT_EQ(window->pos(), screen.topLeft() + expected.topLeft());
}

TEST_F(PrintWindowTest, NavigatorPrintButtonAndPrinterListAlongTheTop) {
    EXPECT_EQ(window->navigator()->geometry(), QRect(16, 8, 313, 50));
    const char* tips[] = {"Previous page", "Next page", "Zoom in",    "Zoom out",
                          "Actual size",   "Fit width", "Fit height", "Fit whole page"};
    int right = 0;
    for (int i = 0; i < NavButtonCount; ++i) {
        const QToolButton* b = window->navButton(static_cast<NavButton>(i));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->parentWidget(), window->navigator());
        EXPECT_EQ(b->toolTip(), tips[i]);
        EXPECT_GE(b->x(), right) << "buttons from left to right";
        right = b->geometry().right();
    }
    EXPECT_LE(right, 313);
    EXPECT_EQ(window->navigator()->findChildren<QToolButton*>().size(), NavButtonCount);

    WaitForPrintJob(*window);
    const QPushButton* print = window->printButton();
    EXPECT_EQ(print->text(), TFormPrint::PrintCaption);
    EXPECT_EQ(print->geometry(), QRect(344, 8, 113, 49));
    EXPECT_TRUE(print->font().bold());
    EXPECT_TRUE(print->isDefault());

    const QComboBox* printers = window->printerList();
    EXPECT_EQ(printers->pos(), QPoint(464, 8));
    EXPECT_EQ(printers->width(), 249);
    // The server's printers, its default current; choosing another makes it the current one.
    window->setPrinterSource([] { return CupsPrinters{{"Home", "Office", "Office/duplex"}, "Office"}; });
    WaitForPrintJob(*window);
    ASSERT_EQ(printers->count(), 3);
    EXPECT_EQ(printers->currentText(), "Office");
    window->printerList()->setCurrentIndex(2);
    EXPECT_EQ(window->chosenPrinter(), "Office/duplex");
    // Without a default printer the first one.
    window->setPrinterSource([] { return CupsPrinters{{"Home", "Office"}, ""}; });
    WaitForPrintJob(*window);
    EXPECT_EQ(printers->currentText(), "Home");
}

TEST_F(PrintWindowTest, ShowPlacesThePreviewAndActivationBuildsThePage) {
    window->show();
    const QRect area(10, 70, window->width() - 30, window->height() - 110);
    EXPECT_EQ(window->previewArea()->geometry(), area);

    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(window->isActiveWindow());
    // Title, subtitle, heading, two header lines, three rows and the footer.
    EXPECT_EQ(TextItems(window->page()), 9u);
    EXPECT_EQ(window->gap(), 10);
    const int fitted = FitWholePageZoom(area.width(), area.height(), 10, 210, 297);
    EXPECT_EQ(window->zoom(), fitted);
    EXPECT_EQ(window->currentPage(), 1);
    const QSize shown = window->pageView()->pixmap().size();
    EXPECT_NEAR(shown.height(), 297 / 25.4 * 96 * fitted / 100, 1);
    EXPECT_NEAR(shown.width(), 210 / 25.4 * 96 * fitted / 100, 1);
}

TEST_F(PrintWindowTest, NavigatorZoomsAndEveryActivationStartsAgain) {
    window->show();
    window->VorschauErzeugen();
    const int fitted = window->zoom();
    const QScrollArea* area = window->previewArea();
    auto press = [&](NavButton b) { window->navButton(b)->click(); };

    press(NavButton::ActualSize);
    EXPECT_EQ(window->zoom(), 100);
    EXPECT_NEAR(window->pageView()->pixmap().height(), 297 / 25.4 * 96, 1);
    press(NavButton::ZoomIn);
    EXPECT_EQ(window->zoom(), 120);
    press(NavButton::ZoomOut);
    EXPECT_EQ(window->zoom(), 80);
    press(NavButton::FitWidth);
    EXPECT_EQ(window->zoom(), FitWidthZoom(area->width(), 10, 210));
    press(NavButton::FitHeight);
    EXPECT_EQ(window->zoom(), FitHeightZoom(area->height(), 10, 297));
    press(NavButton::ActualSize);
    press(NavButton::FitWholePage);
    EXPECT_EQ(window->zoom(), fitted);
    press(NavButton::NextPage);
    press(NavButton::PreviousPage);
    EXPECT_EQ(window->currentPage(), 1);

    // A later activation rebuilds the same page at fit-whole-page zoom.
    press(NavButton::ZoomIn);
    const std::size_t items = window->page().items.size();
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(window->zoom(), fitted);
    EXPECT_EQ(window->currentPage(), 1);
    EXPECT_EQ(window->page().items.size(), items);
}

TEST_F(ThreePageWindowTest, PageButtonsStepThroughThePages) {
    ASSERT_EQ(window->pageCount(), 3);
    QToolButton* previous = window->navButton(NavButton::PreviousPage);
    QToolButton* next = window->navButton(NavButton::NextPage);
    const auto firstRow = [&] {
        for (const PageItem& item : window->page().items)
            if (const auto* t = std::get_if<PageTextItem>(&item); t && t->yMm == 45) return t->text;
        return std::string();
    };
    EXPECT_EQ(window->currentPage(), 1);
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_TRUE(next->isEnabled());

    struct Step {
        QToolButton* button;
        int page;
        std::string firstRow;  // at 45 mm: empty on page 1
    };
    const Step steps[] = {{next, 2, " 14.000|"}, {next, 3, " 59.000|"}, {previous, 2, " 14.000|"}};
    for (const Step& s : steps) {
        s.button->click();
        EXPECT_EQ(window->currentPage(), s.page);
        EXPECT_EQ(firstRow().substr(0, 8), s.firstRow);
        EXPECT_EQ(previous->isEnabled(), s.page > 1);
        EXPECT_EQ(next->isEnabled(), s.page < 3);
    }
    // The shown image is the current page's.
    const QImage shown = window->pageView()->pixmap().toImage();
    const QImage expected = RenderReportImage(window->page(), picture, PreviewDpi(window->zoom()));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), expected);

    // A new activation starts on page 1 again.
    window->VorschauErzeugen();
    EXPECT_EQ(window->currentPage(), 1);
    EXPECT_FALSE(previous->isEnabled());
}

TEST_F(ThreePageWindowTest, PrintDialogOffersThePagesAndTheJobTakesItsChoice) {
    window->setPrinterSource(QueueA);
    std::vector<ReportPrintJob> jobs;
    window->setReportPrinter(
        [&](const ReportDocument& report, std::span<const QImage> printed,
            const ReportPrintJob& job) {
            EXPECT_EQ(report.pages.size(), 3u);
            EXPECT_EQ(printed.size(), 1u);
            EXPECT_EQ(printed[0].size(), picture.size());
            jobs.push_back(job);
            return std::string();
        });
    int shown = 0;
    struct Choice {
        QPrinter::PrintRange range;
        int from, to, copies;
        int jobFrom, jobTo;
    };
    const Choice choices[] = {
        {QPrinter::AllPages, 0, 0, 2, 1, 3},
        {QPrinter::PageRange, 2, 3, 1, 2, 3},
        {QPrinter::PageRange, 3, 3, 3, 3, 3},
        {QPrinter::PageRange, 1, 2, 1, 1, 2},
    };
    for (const Choice& c : choices) {
        window->setPrintDialogRunner([&](QPrintDialog& d) {
            ++shown;
            EXPECT_EQ(d.minPage(), 1);
            EXPECT_EQ(d.maxPage(), 3);
            EXPECT_EQ(d.fromPage(), 1);
            EXPECT_EQ(d.toPage(), 3);
            EXPECT_TRUE(d.testOption(QAbstractPrintDialog::PrintPageRange));
            EXPECT_FALSE(d.testOption(QAbstractPrintDialog::PrintToFile));
            EXPECT_EQ(d.printer()->copyCount(), 1);
            d.printer()->setPrintRange(c.range);
            if (c.range == QPrinter::PageRange) d.printer()->setFromTo(c.from, c.to);
            d.printer()->setCopyCount(c.copies);
            d.printer()->setCollateCopies(false);
            d.printer()->setColorMode(QPrinter::GrayScale);
            return static_cast<int>(QDialog::Accepted);
        });
        WaitForPrintJob(*window);
        window->ButPrintClick();
        WaitForPrintJob(*window);
        ASSERT_EQ(jobs.size(), static_cast<std::size_t>(shown));
        const ReportPrintJob& job = jobs.back();
        EXPECT_EQ(job.fromPage, c.jobFrom);
        EXPECT_EQ(job.toPage, c.jobTo);
        EXPECT_EQ(job.copies, c.copies);
        EXPECT_EQ(job.printerName, window->printer().printerName().toStdString());
    }
    EXPECT_EQ(shown, 4);
    EXPECT_TRUE(dialogs.messages.empty());
    // The report's settings hold again after the dialog; its collate is not taken over.
    QPrinter& p = window->printer();
    EXPECT_TRUE(p.collateCopies());
    EXPECT_EQ(p.colorMode(), QPrinter::Color);
    EXPECT_EQ(p.duplex(), QPrinter::DuplexNone);
    EXPECT_EQ(p.docName(), "<document>");

    // A cancelled dialog prints nothing.
    window->setPrintDialogRunner([](QPrintDialog&) { return static_cast<int>(QDialog::Rejected); });
    window->ButPrintClick();
    WaitForPrintJob(*window);
    EXPECT_EQ(jobs.size(), 4u);
}

TEST_F(PrintWindowTest, NoPrinterWarnsAndOpensNoPrintDialog) {
    window->VorschauErzeugen();
    window->setPrinterSource([] { return CupsPrinters(); });
    int dialogsShown = 0;
    int printed = 0;
    window->setPrintDialogRunner([&](QPrintDialog&) {
        ++dialogsShown;
        return static_cast<int>(QDialog::Accepted);
    });
    window->setReportPrinter([&](const ReportDocument&, std::span<const QImage>, const ReportPrintJob&) {
        ++printed;
        return std::string();
    });
    WaitForPrintJob(*window);
    window->printButton()->click();
    WaitForPrintJob(*window);
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_EQ(printed, 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              (testing::ShownMessage{WarningTitle, QString::fromUtf8(NoPrinterText)}));
    EXPECT_EQ(window->printerList()->count(), 0);

    // A printer set up while the window is open is found on the next press.
    window->setPrinterSource(QueueA);
    WaitForPrintJob(*window);
    window->printButton()->click();
    WaitForPrintJob(*window);
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(PrintWindowTest, FailedPrintShowsTheReasonInAnErrorBox) {
    window->VorschauErzeugen();
    window->setPrinterSource(QueueA);
    window->setPrintDialogRunner([](QPrintDialog&) { return static_cast<int>(QDialog::Accepted); });
    const std::string failure =
        "The report could not be printed on \"Queue A\": Destination \"Queue A\" is not "
        "accepting jobs.";
    QSemaphore answer;
    window->setReportPrinter([&](const ReportDocument&, std::span<const QImage>,
                                 const ReportPrintJob&) {
        return answer.tryAcquire(1, 10000) ? failure : std::string("no answer awaited");
    });
    // The job waits for the print server off the window's thread; the window stays open
    // meanwhile, to show the outcome.
    window->show();
    WaitForPrintJob(*window);
    window->ButPrintClick();
    WaitForPrintJob(*window, [&] { return window->jobRunning(); });
    EXPECT_TRUE(window->jobRunning());
    EXPECT_FALSE(window->printButton()->isEnabled());
    EXPECT_EQ(window->printButton()->text(), "Printing…");
    window->reject();
    EXPECT_TRUE(window->isVisible());
    answer.release();
    WaitForPrintJob(*window);
    EXPECT_TRUE(window->printButton()->isEnabled());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              (testing::ShownMessage{ErrorTitle, QString::fromStdString(failure)}));
}

TEST_F(ThreePageWindowTest, SaveAsPdfWritesOffTheWindowsThread) {
    QTemporaryDir dir;
    dialogs.saveAnswers = {dir.path()};  // a folder, which cannot become the file
    window->ButSavePdfClick();
    EXPECT_TRUE(window->jobRunning() && !window->savePdfButton()->isEnabled() &&
                !window->printButton()->isEnabled());
    EXPECT_EQ(window->savePdfButton()->text(), "Saving…");
    WaitForPrintJob(*window);
    EXPECT_EQ(window->savePdfButton()->text(), TFormPrint::SavePdfButtonText);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, ErrorTitle);
    // A stop requested while the pages are drawn writes nothing.
    std::stop_source stop;
    stop.request_stop();
    EXPECT_NE(WriteReportPdf(window->report(), {&picture, 1}, "other.pdf", stop.get_token()), "");
    EXPECT_FALSE(QFile::exists("other.pdf"));
}

}  // namespace
}  // namespace fw
