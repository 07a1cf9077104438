#include "app/stationlog/log_view_controller.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

#include "app/stationlog/log_span_dialog.h"
#include "app/stationlog/log_view_window.h"
#include "app/stationlog/missing_log.h"
#include "app/background/background.h"
#include "app/window/qt_text.h"
#include "app/window/screen_fit.h"
#include "stationlog/station_log_tasks.h"
#include "libs/startup_values.h"
#include "logviews/view_frame.h"
#include "output/qt/qimage_picture.h"

namespace fw {

LogViewController::LogViewController(Document& document, StationLogDialogs& dialogs, LogViewKind kind,
                                     QAction& command, QWidget& windowParent, QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      kind_(kind),
      windowParent_(windowParent) {
    const PrinterAccess cups = CupsPrinterAccess();
    setPrinting(cups.list, cups.job);
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, [this] { open(); });
}

LogViewController::~LogViewController() = default;

void LogViewController::createWindow() {
    const bool level = kind_ == LogViewKind::LevelOverTime;
    window_ = new LogViewWindow(
        level ? QStringLiteral("Level over Time") : QStringLiteral("24-Hour Profile"), level,
        &windowParent_);
    const auto changed = [this] {
        if (!filling_) redraw();
    };
    connect(window_->from, &QDateTimeEdit::dateTimeChanged, this, changed);
    connect(window_->to, &QDateTimeEdit::dateTimeChanged, this, changed);
    if (window_->bandList) connect(window_->bandList, &QListWidget::itemChanged, this, changed);
    if (window_->bandBox) connect(window_->bandBox, &QComboBox::currentIndexChanged, this, changed);
    connect(window_->save, &QPushButton::clicked, this, [this] { saveClick(); });
    connect(window_->copy, &QPushButton::clicked, this, [this] { copyClick(); });
    connect(window_->print, &QPushButton::clicked, this, [this] { printClick(); });
}

void LogViewController::open() {
    const std::string path = StationLogPath(document_.settings().log);
    if (const std::optional<Message> none = NoLogYet(path)) {
        dialogs_.show(*none);
        return;
    }
    LogExtent extent;
    std::vector<LogBand> bands;
    try {
        StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
        extent = ExtentOf(log);
        bands = BandsIn(log, {});
    } catch (const LogError& e) {
        dialogs_.show({MessageKind::Error, e.what()});
        return;
    }
    if (extent.readings == 0) {
        dialogs_.show(
            {MessageKind::Information, "The station log " + path + " holds no readings yet."});
        return;
    }
    if (!window_) createWindow();
    logPath_ = path;
    bands_ = bands;
    filling_ = true;
    // The whole log, in whole hours.
    const LogSpan whole = WholeHoursOf(extent);
    SetUtcSeconds(*window_->from, *whole.from);
    SetUtcSeconds(*window_->to, *whole.to);
    if (window_->bandList) {
        window_->bandList->clear();
        for (const LogBand& b : bands_) {
            auto* item = new QListWidgetItem(ToQString(BandLabel(b)), window_->bandList);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
        }
    } else {
        window_->bandBox->clear();
        for (const LogBand& b : bands_) window_->bandBox->addItem(ToQString(BandLabel(b)));
    }
    filling_ = false;
    redraw();
    if (!window_->isVisible()) FitIntoScreen(*window_);
    window_->show();
    window_->raise();
}

LogViewRequest LogViewController::request() const {
    LogViewRequest r;
    r.kind = kind_;
    r.from = UtcSecondsOfEdit(*window_->from);
    r.to = UtcSecondsOfEdit(*window_->to);
    const std::int32_t shownHz = document_.pictureBandwidthHz();
    r.bandwidthHz = shownHz > 0 ? shownHz : StartBandwidthHz;
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        const int row = static_cast<int>(i);
        const bool chosen = window_->bandList
                                ? window_->bandList->item(row)->checkState() == Qt::Checked
                                : window_->bandBox->currentIndex() == row;
        if (chosen) r.bands.push_back(bands_[i]);
    }
    return r;
}

void LogViewController::redraw() {
    const LogViewRequest r = request();
    if (r.from >= r.to) {
        window_->image->setText(QStringLiteral("\"From\" must lie before \"To\"."));
        return;
    }
    if (!coefficients_)
        coefficients_ = std::make_unique<ItuCoefficientCache>(document_.state().ProgramDir);
    // Drawn at the screen's device pixels, so that it is sharp and whole at any scale.
    const double ratio = window_->image->devicePixelRatioF();
    LogViewPictures pictures;
    try {
        StationLog log = StationLog::Open(logPath_, StationLog::OpenMode::ReadOnly);
        pictures = RenderLogView(log, r, *coefficients_, ratio);
    } catch (const LogError& e) {
        window_->image->setText(ToQString(e.what()));
        return;
    }
    picture_ = std::move(pictures.logical);
    QPixmap shown = QPixmap::fromImage(PictureImageView(pictures.shown));
    shown.setDevicePixelRatio(ratio);
    window_->image->setPixmap(shown);
}

void LogViewController::saveClick() {
    FileDialogRequest request = PictureSaveRequest(CurrentLocalTime());
    request.title = QStringLiteral("Save View");
    SavePictureAs(dialogs_, picture_, request);
}

void LogViewController::setPrinting(PrinterNames names, PrintJob job) {
    printerNames_ = std::move(names);
    printJob_ = std::move(job);
}

void LogViewController::printClick() {
    PrintPicture(*this, dialogs_, {printerNames_, printJob_}, picture_, window_->windowTitle(),
                 *window_->print);
}

void LogViewController::copyClick() {
    CopyPictureToClipboard(dialogs_, picture_);
}

}  // namespace fw
