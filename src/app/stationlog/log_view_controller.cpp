#include "app/stationlog/log_view_controller.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/stationlog/log_span_dialog.h"
#include "app/stationlog/log_view_window.h"
#include "app/stationlog/missing_log.h"
#include "app/window/qt_text.h"
#include "app/window/screen_fit.h"
#include "stationlog/sqlite_db.h"
#include "stationlog/station_log_tasks.h"
#include "libs/startup_values.h"
#include "logviews/view_frame.h"
#include "output/qt/qimage_picture.h"

namespace fw {

namespace {

// What a redraw hands back: the pictures or why there are none.
struct LoadedView {
    LogViewPictures pictures;
    std::string error;
};

// The log's extent and bands, or why they could not be read.
struct FoundLog {
    LogExtent extent;
    std::vector<LogBand> bands;
    std::string error;
};

LogViewPictures ReadLogView(const std::string& logPath, const LogViewRequest& request,
                            const ItuCoefficientCache& coefficients, double ratio,
                            std::stop_token stop) {
    StationLog log = StationLog::Open(logPath, StationLog::OpenMode::ReadOnly);
    const SqliteStopOnRequest interruptible(log.database(), stop);
    return RenderLogView(log, request, coefficients, ratio);
}

}  // namespace

LogViewController::LogViewController(Document& document, StationLogDialogs& dialogs, LogViewKind kind,
                                     QAction& command, QWidget& windowParent, QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      kind_(kind),
      command_(command),
      windowParent_(windowParent),
      read_(ReadLogView) {
    resizeWait_ = new QTimer(this);
    resizeWait_->setSingleShot(true);
    resizeWait_->setInterval(150);
    connect(resizeWait_, &QTimer::timeout, this, [this] {
        if (window_->isVisible() && window_->image->size() != drawnSize_) redraw();
    });
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
    // The chart follows the window's size, drawn anew once the size has settled.
    connect(window_, &LogViewWindow::resized, resizeWait_, qOverload<>(&QTimer::start));
    // A closed view reads no further.
    connect(window_, &QDialog::finished, this, [this] { stopLoading(); });
}

void LogViewController::open() {
    const std::string path = StationLogPath(document_.settings().log);
    if (const std::optional<Message> none = NoLogYet(path)) return dialogs_.show(*none);
    command_.setEnabled(false);
    jobs_.run(
        [path](std::stop_token) {
            FoundLog found;
            try {
                StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
                found.extent = ExtentOf(log);
                found.bands = BandsIn(log, {});
            } catch (const LogError& e) {
                found.error = e.what();
            }
            return found;
        },
        [this, path](FoundLog found) {
            command_.setEnabled(true);
            if (!found.error.empty()) return dialogs_.show({MessageKind::Error, found.error});
            if (found.extent.readings == 0) return dialogs_.show(NoReadingsYet(path));
            // The whole log, in whole hours.
            show(path, WholeHoursOf(found.extent), std::move(found.bands));
        });
}

void LogViewController::show(const std::string& path, LogSpan whole, std::vector<LogBand> bands) {
    if (!window_) createWindow();
    logPath_ = path;
    bands_ = std::move(bands);
    filling_ = true;
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
    // Shown first, so that the chart is drawn at the size the window has on the screen.
    if (!window_->isVisible()) FitIntoScreen(*window_);
    window_->show();
    window_->raise();
    redraw();
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
    r.width = window_->image->width();
    r.height = window_->image->height();
    return r;
}

void LogViewController::redraw() {
    stopLoading();
    const LogViewRequest r = request();
    drawnSize_ = window_->image->size();
    if (r.from >= r.to) {
        window_->image->setText(QStringLiteral("\"From\" must lie before \"To\"."));
        return;
    }
    // Drawn at the screen's device pixels, so that it is sharp and whole at any scale.
    const double ratio = window_->image->devicePixelRatioF();
    const int load = load_;
    showLoading(true);
    // A redraw given up may still run beside the next: both read the process's one store.
    loads_.run(
        [read = read_, path = logPath_, r, ratio,
         coefficients = SharedItuCoefficients(document_.state().ProgramDir)](std::stop_token stop) {
            LoadedView loaded;
            try {
                loaded.pictures = read(path, r, *coefficients, ratio, stop);
            } catch (const LogError& e) {
                loaded.error = e.what();
            }
            return loaded;
        },
        [this, load, ratio](LoadedView loaded) {
            if (load != load_) return;  // given up or replaced meanwhile
            showLoading(false);
            if (!loaded.error.empty()) {
                window_->image->setText(ToQString(loaded.error));
                return;
            }
            picture_ = std::move(loaded.pictures.logical);
            QPixmap shown = QPixmap::fromImage(PictureImageView(loaded.pictures.shown));
            shown.setDevicePixelRatio(ratio);
            window_->image->setPixmap(shown);
        });
}

void LogViewController::stopLoading() {
    if (!loading_) return;
    loads_.stop();
    ++load_;
    showLoading(false);
}

void LogViewController::showLoading(bool loading) {
    loading_ = loading;
    if (loading) window_->image->setText(QStringLiteral("Loading…"));
    window_->save->setEnabled(!loading);
    window_->copy->setEnabled(!loading);
    // Print stays greyed while a print of its own is under way, which renames it.
    if (loading || window_->print->text() == PrintCaption) window_->print->setEnabled(!loading);
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
    if (loading_) return;
    PrintPicture(jobs_, dialogs_, {printerNames_, printJob_}, picture_, window_->windowTitle(),
                 *window_->print);
}

void LogViewController::copyClick() {
    CopyPictureToClipboard(dialogs_, picture_);
}

}  // namespace fw
