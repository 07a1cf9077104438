#include "app/print/print_window.h"

#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMetaObject>
#include <QPixmap>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/logic/app_state.h"
#include "output/preview_zoom.h"
#include "output/qt/report_render.h"

namespace fw {

namespace {

constexpr int MinWindowSide = 300;
constexpr int ScreenMargin = 200;
constexpr int SmallSide = 700;  // a side below it keeps only a tenth as margin
// The navigator, Print and the printer list along the top, with the margin at the right.
constexpr int TopRowWidth = 464 + 249 + 8;
// The gap of background around the page, set on every page build.
constexpr int PageGap = 10;

struct NavButtonDesign {
    const char* objectName;
    const char* toolTip;
    const char* text;
    QStyle::StandardPixmap icon;  // SP_CustomBase for a text-only button
};

constexpr std::array<NavButtonDesign, NavButtonCount> NavButtons = {{
    {"ButPreviousPage", "Previous page", "<", QStyle::SP_ArrowLeft},
    {"ButNextPage", "Next page", ">", QStyle::SP_ArrowRight},
    {"ButZoomIn", "Zoom in", "+", QStyle::SP_CustomBase},
    {"ButZoomOut", "Zoom out", "-", QStyle::SP_CustomBase},
    {"ButActualSize", "Actual size", "1:1", QStyle::SP_CustomBase},
    {"ButFitWidth", "Fit width", "<->", QStyle::SP_CustomBase},
    {"ButFitHeight", "Fit height", "|", QStyle::SP_CustomBase},
    {"ButFitWholePage", "Fit whole page", "[ ]", QStyle::SP_CustomBase},
}};

}  // namespace

QRect PrintWindowGeometry(QSize area) {
    const auto side = [](int length, int least) {
        const int margin = length < SmallSide ? length / 10 : ScreenMargin;
        return std::min(length, std::max(least, length - margin));
    };
    const int w = side(area.width(), std::max(MinWindowSide, TopRowWidth));
    const int h = side(area.height(), MinWindowSide);
    return QRect(area.width() / 2 - w / 2, area.height() / 2 - h / 2, w, h);
}

TFormPrint::TFormPrint(const QImage& picture, const MeasList& list, std::string versionText,
                       PictureDialogs& dialogs, QWidget* parent)
    : TFormPrint(
          [&list, width = picture.width(), height = picture.height(),
           version = std::move(versionText)] {
              const NoiseReportTexts texts =
                  SystemReportTexts(version, std::string(ProgramCopyrightText));
              return BuildNoiseReport(width, height, list, texts, ReportTextWidthMm);
          },
          {picture}, Caption, QStringLiteral("noise-report.pdf"), dialogs, parent) {}

TFormPrint::TFormPrint(ReportBuilder build, std::vector<QImage> pictures, const QString& caption,
                       const QString& pdfName, PictureDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      build_(std::move(build)),
      pictures_(std::move(pictures)),
      pdfName_(pdfName),
      dialogs_(dialogs),
      runPrintDialog_([](QPrintDialog& dialog) { return dialog.exec(); }),
      printerSource_([] { return ListCupsPrinters(); }),
      print_(PrintReportPictures) {
    setObjectName(QStringLiteral("FormPrint"));
    setWindowTitle(caption);
    // A fixed border with only a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    buildNavigator();

    butPrint_ = new QPushButton(PrintCaption, this);
    butPrint_->setObjectName(QStringLiteral("ButPrint"));
    butPrint_->setGeometry(344, 8, 113, 49);
    QFont bold = butPrint_->font();
    bold.setBold(true);
    butPrint_->setFont(bold);
    butPrint_->setDefault(true);
    butPrint_->setAutoDefault(true);
    connect(butPrint_, &QPushButton::clicked, this, &TFormPrint::ButPrintClick);

    butSavePdf_ = new QPushButton(SavePdfButtonText, this);
    butSavePdf_->setObjectName(QStringLiteral("ButSavePdf"));
    butSavePdf_->setGeometry(720, 8, 100, 49);
    connect(butSavePdf_, &QPushButton::clicked, this, &TFormPrint::ButSavePdfClick);

    printerList_ = new QComboBox(this);
    printerList_->setObjectName(QStringLiteral("CBPrinter"));
    printerList_->move(464, 8);
    printerList_->resize(249, printerList_->sizeHint().height());

    preview_ = new QScrollArea(this);
    preview_->setObjectName(QStringLiteral("Preview"));
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setBackgroundRole(QPalette::Dark);
    pageView_ = new QLabel;
    pageView_->setObjectName(QStringLiteral("PageView"));
    pageView_->setAlignment(Qt::AlignCenter);
    preview_->setWidget(pageView_);

    placeOnScreen();
    connect(printerList_, &QComboBox::currentIndexChanged, this, &TFormPrint::PrinterListChange);
    findPrinters({});
}

TFormPrint::~TFormPrint() = default;

void TFormPrint::placeOnScreen() {
    const QWidget* opener = parentWidget();
    const QScreen* screen =
        opener && opener->screen() ? opener->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect g = PrintWindowGeometry(screenRect.size());
    // The user cannot resize the window.
    setFixedSize(g.size());
    move(screenRect.topLeft() + g.topLeft());
    // On a narrow screen the printer list gives up width so that Save as PDF stays inside.
    const QRect save = butSavePdf_->geometry();
    const int saveLeft = std::min(save.left(), width() - save.width() - 8);
    butSavePdf_->move(saveLeft, save.top());
    printerList_->resize(std::min(249, saveLeft - 7 - printerList_->x()), printerList_->height());
}

void TFormPrint::buildNavigator() {
    navigator_ = new QWidget(this);
    navigator_->setObjectName(QStringLiteral("PageNavigator"));
    navigator_->setGeometry(16, 8, 313, 50);
    const int buttonWidth = 313 / NavButtonCount;
    for (int i = 0; i < NavButtonCount; ++i) {
        const NavButtonDesign& d = NavButtons[i];
        auto* b = new QToolButton(navigator_);
        b->setObjectName(QString::fromLatin1(d.objectName));
        b->setToolTip(QString::fromLatin1(d.toolTip));
        b->setAccessibleName(QString::fromLatin1(d.toolTip));
        if (d.icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(d.icon));
        else
            b->setText(QString::fromLatin1(d.text));
        b->setGeometry(i * buttonWidth, 0, buttonWidth, 50);
        connect(b, &QToolButton::clicked, this, [this, i] { navigate(static_cast<NavButton>(i)); });
        navButtons_[i] = b;
    }
}

QPrinter& TFormPrint::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>();
        // Copies stay 1 until the print dialog says otherwise.
        ConfigureReportPrinter(*printer_, 1);
    }
    return *printer_;
}

void TFormPrint::setPrinterSource(PrinterSource source) {
    printerSource_ = std::move(source);
    findPrinters({});
}

void TFormPrint::findPrinters(std::function<void()> then) {
    const int search = ++printerSearch_;
    showPrinterSearch(true);
    // The library's own waits add up to far more than its timeout on a silent server: the
    // window gives up by itself at the stated time, and an answer after it is dropped.
    QTimer::singleShot(searchLimit_, this, [this, search, then] {
        if (search != printerSearch_) return;
        ++printerSearch_;
        serverSilent_ = true;
        showPrinterSearch(false);
        const QSignalBlocker quiet(printerList_);
        printerList_->clear();
        printerList_->addItem(QString::fromUtf8(SilentPrintServerText));
        if (then) then();
    });
    searches_.run([source = printerSource_](std::stop_token) { return source(); },
                  [this, search, then = std::move(then)](const CupsPrinters& found) {
                      if (search != printerSearch_) return;  // a newer search answers instead
                      serverSilent_ = false;
                      showPrinterSearch(false);
                      fillPrinterList(found);
                      if (then) then();
                  });
}

void TFormPrint::showPrinterSearch(bool searching) {
    findingPrinters_ = searching;
    printerList_->setEnabled(!searching);
    butPrint_->setEnabled(!searching && !jobRunning_);
    // On two lines, so that the text fits the button whole.
    butPrint_->setText(searching ? QString::fromUtf8(FindingPrintersText).replace(u' ', u'\n')
                                 : PrintCaption);
    if (!searching) return;
    const QSignalBlocker quiet(printerList_);
    printerList_->clear();
    printerList_->addItem(QString::fromUtf8(FindingPrintersText));
}

void TFormPrint::fillPrinterList(const CupsPrinters& found) {
    QStringList names;
    for (const std::string& name : found.names) names << QString::fromStdString(name);
    // The one picked before while it is still there, else the server's default.
    if (!names.contains(chosenPrinter_)) chosenPrinter_ = QString::fromStdString(found.defaultName);
    // Without a default one the first printer, rather than a blank box.
    if (!names.contains(chosenPrinter_)) chosenPrinter_ = names.isEmpty() ? QString() : names.front();
    const QSignalBlocker quiet(printerList_);
    printerList_->clear();
    printerList_->addItems(names);
    printerList_->setCurrentIndex(names.indexOf(chosenPrinter_));
}

void TFormPrint::PrinterListChange(int index) {
    if (index < 0 || findingPrinters_) return;
    chosenPrinter_ = printerList_->itemText(index);
}

void TFormPrint::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFormPrint::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TFormPrint::FormShow() {
    preview_->setGeometry(10, 70, width() - 30, height() - 110);
}

void TFormPrint::FormActivate() {
    VorschauErzeugen();
}

void TFormPrint::VorschauErzeugen() {
    report_ = build_();
    gap_ = PageGap;
    zoom_ = FitWholePageZoom(preview_->width(), preview_->height(), gap_, A4WidthMm, A4HeightMm);
    showPage(1);
}

void TFormPrint::navigate(NavButton b) {
    switch (b) {
        case NavButton::PreviousPage:
            showPage(std::max(1, currentPage_ - 1));
            break;
        case NavButton::NextPage:
            showPage(std::min(pageCount(), currentPage_ + 1));
            break;
        case NavButton::ZoomIn:
            setZoom(ZoomInStep(zoom_));
            break;
        case NavButton::ZoomOut:
            setZoom(ZoomOutStep(zoom_));
            break;
        case NavButton::ActualSize:
            setZoom(ActualSizeZoom);
            break;
        case NavButton::FitWidth:
            setZoom(FitWidthZoom(preview_->width(), gap_, page().widthMm));
            break;
        case NavButton::FitHeight:
            setZoom(FitHeightZoom(preview_->height(), gap_, page().heightMm));
            break;
        case NavButton::FitWholePage:
            setZoom(FitWholePageZoom(preview_->width(), preview_->height(), gap_, page().widthMm,
                                     page().heightMm));
            break;
    }
}

void TFormPrint::setZoom(int zoom) {
    zoom_ = ClampPreviewZoom(zoom);
    showPage(currentPage_);
}

void TFormPrint::showPage(int n) {
    currentPage_ = std::clamp(n, 1, pageCount());
    // Drawn at the screen's device pixels, so that the page is sharp at any scale.
    const double ratio = pageView_->devicePixelRatioF();
    QImage image = RenderReportImage(page(), pictures_, PreviewDpi(zoom_) * ratio);
    image.setDevicePixelRatio(ratio);
    pageView_->setContentsMargins(gap_, gap_, gap_, gap_);
    pageView_->setPixmap(QPixmap::fromImage(image));
    pageView_->adjustSize();
    navButton(NavButton::PreviousPage)->setEnabled(currentPage_ > 1);
    navButton(NavButton::NextPage)->setEnabled(currentPage_ < pageCount());
}

void TFormPrint::ButPrintClick() {
    if (jobRunning_ || findingPrinters_) return;
    // Printers come and go while the window is open: ask again. The print dialog talks to
    // the server too, so it opens only once the server answered.
    findPrinters([this] { printOnChosenPrinter(); });
}

void TFormPrint::printOnChosenPrinter() {
    if (serverSilent_) {
        dialogs_.show({MessageKind::Warning, SilentServerWarningText});
        return;
    }
    if (printerList_->count() == 0) {
        dialogs_.show({MessageKind::Warning, NoPrinterText});
        return;
    }
    QPrinter& p = printer();
    if (!chosenPrinter_.isEmpty()) p.setPrinterName(chosenPrinter_);
    QPrintDialog dialog(&p, this);
    p.setCopyCount(1);
    dialog.setMinMax(1, pageCount());
    dialog.setFromTo(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (runPrintDialog_(dialog) != QDialog::Accepted) return;

    // The dialog's printer is current from now on; its copies count, its collate does not.
    ConfigureReportPrinter(p, p.copyCount());
    chosenPrinter_ = p.printerName();
    {
        const QSignalBlocker quiet(printerList_);
        printerList_->setCurrentIndex(printerList_->findText(chosenPrinter_));
    }
    runJob(butPrint_, QStringLiteral("Printing…"),
           [print = print_, report = report_, pictures = pictures_, job = chosenJob()] {
               return print(report, pictures, job);
           });
}

void TFormPrint::runJob(QPushButton* button, const QString& busyText,
                        std::function<std::string()> work) {
    jobRunning_ = true;
    const QString text = button->text();
    butPrint_->setEnabled(false);
    butSavePdf_->setEnabled(false);
    button->setText(busyText);
    job_.start([work = std::move(work)](std::stop_token) { return work(); },
               [this, button, text](const std::string& error) {
                   jobRunning_ = false;
                   button->setText(text);
                   butPrint_->setEnabled(!findingPrinters_);
                   butSavePdf_->setEnabled(true);
                   if (!error.empty()) dialogs_.show({MessageKind::Error, error});
               });
}

void TFormPrint::done(int result) {
    if (jobRunning_) return;
    QDialog::done(result);
}

void TFormPrint::ButSavePdfClick() {
    if (jobRunning_) return;
    FileDialogRequest request;
    request.title = SavePdfCaption;
    request.filters << QStringLiteral("PDF files (*.pdf)") << QStringLiteral("All files (*)");
    request.defaultSuffix = QStringLiteral("pdf");
    request.proposedName = pdfName_;
    request.confirmOverwrite = true;
    const std::optional<QString> target = dialogs_.saveFileName(request);
    if (!target) return;
    runJob(
        butSavePdf_, QStringLiteral("Saving…"),
        [report = report_, pictures = pictures_, path = QFile::encodeName(*target).toStdString()] {
            return WriteReportPdf(report, pictures, path);
        });
}

ReportPrintJob TFormPrint::chosenJob() const {
    const QPrinter& p = *printer_;
    ReportPrintJob job{p.printerName().toStdString(), p.copyCount(), 1, pageCount()};
    if (p.printRange() != QPrinter::PageRange) return job;
    // A bound of 0 is one the dialog left open.
    if (p.fromPage() > 0) job.fromPage = std::max(p.fromPage(), 1);
    if (p.toPage() > 0) job.toPage = std::min(p.toPage(), pageCount());
    return job;
}

void OpenPrintWindow(QWidget* parent, const QImage& picture, const MeasList& list,
                     const std::string& versionText, PictureDialogs& dialogs) {
    TFormPrint window(picture, list, versionText, dialogs, parent);
    window.exec();
}

}  // namespace fw
