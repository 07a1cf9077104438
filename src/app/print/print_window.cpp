#include "app/print/print_window.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "app/logic/app_state.h"
#include "output/preview_zoom.h"
#include "output/report_render.h"

namespace fw {

namespace {

constexpr int MinWindowSide = 300;
constexpr int ScreenMargin = 200;
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

QRect PrintWindowGeometry(QSize screen) {
    const int w = std::max(MinWindowSide, screen.width() - ScreenMargin);
    const int h = std::max(MinWindowSide, screen.height() - ScreenMargin);
    return QRect(screen.width() / 2 - w / 2, screen.height() / 2 - h / 2, w, h);
}

TFormPrint::TFormPrint(const QImage& picture, const MeasList& list, std::string versionText,
                       QWidget* parent)
    : QDialog(parent),
      picture_(picture),
      list_(list),
      versionText_(std::move(versionText)),
      runPrintDialog_([](QPrintDialog& dialog) { return dialog.exec(); }) {
    setObjectName(QStringLiteral("FormPrint"));
    setWindowTitle(Caption);
    // A fixed border with only a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    buildNavigator();

    butPrint_ = new QPushButton(QStringLiteral("Print"), this);
    butPrint_->setObjectName(QStringLiteral("ButPrint"));
    butPrint_->setGeometry(344, 8, 113, 49);
    QFont bold = butPrint_->font();
    bold.setBold(true);
    butPrint_->setFont(bold);
    butPrint_->setDefault(true);
    butPrint_->setAutoDefault(true);
    connect(butPrint_, &QPushButton::clicked, this, &TFormPrint::ButPrintClick);

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
    // Copies stay 1 until the print dialog says otherwise.
    ConfigureReportPrinter(printer_, 1);
    fillPrinterList();
    connect(printerList_, &QComboBox::currentIndexChanged, this, &TFormPrint::PrinterListChange);
}

TFormPrint::~TFormPrint() = default;

void TFormPrint::placeOnScreen() {
    const QWidget* opener = parentWidget();
    const QScreen* screen =
        opener && opener->screen() ? opener->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QRect g = PrintWindowGeometry(screenRect.size());
    // The user cannot resize the window.
    setFixedSize(g.size());
    move(screenRect.topLeft() + g.topLeft());
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
        if (d.icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(d.icon));
        else
            b->setText(QString::fromLatin1(d.text));
        b->setGeometry(i * buttonWidth, 0, buttonWidth, 50);
        connect(b, &QToolButton::clicked, this, [this, i] { navigate(static_cast<NavButton>(i)); });
        navButtons_[i] = b;
    }
}

void TFormPrint::fillPrinterList() {
    const QStringList names = QPrinterInfo::availablePrinterNames();
    QString current = printer_.printerName();
    if (current.isEmpty() || !names.contains(current)) current = QPrinterInfo::defaultPrinterName();
    if (!current.isEmpty() && names.contains(current)) printer_.setPrinterName(current);
    const QSignalBlocker quiet(printerList_);
    printerList_->clear();
    printerList_->addItems(names);
    printerList_->setCurrentIndex(names.indexOf(printer_.printerName()));
}

void TFormPrint::PrinterListChange(int index) {
    if (index < 0) return;
    printer_.setPrinterName(printerList_->itemText(index));
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
    const NoiseReportTexts texts =
        SystemReportTexts(versionText_, std::string(ProgramCopyrightText));
    page_ = BuildNoiseReport(picture_.width(), picture_.height(), list_, texts, ReportTextWidthMm);
    gap_ = PageGap;
    zoom_ = FitWholePageZoom(preview_->width(), preview_->height(), gap_, page_.widthMm,
                             page_.heightMm);
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
            setZoom(FitWidthZoom(preview_->width(), gap_, page_.widthMm));
            break;
        case NavButton::FitHeight:
            setZoom(FitHeightZoom(preview_->height(), gap_, page_.heightMm));
            break;
        case NavButton::FitWholePage:
            setZoom(FitWholePageZoom(preview_->width(), preview_->height(), gap_, page_.widthMm,
                                     page_.heightMm));
            break;
    }
}

void TFormPrint::setZoom(int zoom) {
    zoom_ = ClampPreviewZoom(zoom);
    showPage(currentPage_);
}

void TFormPrint::showPage(int n) {
    currentPage_ = std::clamp(n, 1, pageCount());
    const QImage image = RenderReportImage(page_, picture_, PreviewDpi(zoom_));
    pageView_->setContentsMargins(gap_, gap_, gap_, gap_);
    pageView_->setPixmap(QPixmap::fromImage(image));
    pageView_->adjustSize();
}

void TFormPrint::ButPrintClick() {
    QPrintDialog dialog(&printer_, this);
    printer_.setCopyCount(1);
    dialog.setMinMax(1, pageCount());
    dialog.setFromTo(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (runPrintDialog_(dialog) != QDialog::Accepted) return;

    // The dialog's printer is current from now on; its copies count, its collate does not.
    ConfigureReportPrinter(printer_, printer_.copyCount());
    fillPrinterList();
    int from = 1;
    int to = pageCount();
    if (printer_.printRange() == QPrinter::PageRange) {
        from = printer_.fromPage();
        to = printer_.toPage();
    }
    // The report has one page; a printer failure is left to the system to report.
    if (from <= 1 && 1 <= to) PrintReport(page_, picture_, printer_);
}

void OpenPrintWindow(QWidget* parent, const QImage& picture, const MeasList& list,
                     const std::string& versionText) {
    TFormPrint window(picture, list, versionText, parent);
    window.exec();
}

}  // namespace fw
