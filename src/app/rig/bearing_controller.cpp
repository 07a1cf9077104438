#include "app/rig/bearing_controller.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

#include "app/rig/bearing_job.h"
#include "app/rig/bearing_scan_window.h"
#include "app/window/qt_text.h"
#include "app/window/screen_fit.h"
#include "diagram/scaled_canvas.h"
#include "libs/date_text.h"
#include "libs/regional.h"
#include "logviews/bearing_polar.h"
#include "output/qt/qimage_picture.h"
#include "rig/rig_error.h"
#include "rig/rig_plan.h"
#include "rotator/rotctld_client.h"

namespace fw {

BearingController::BearingController(Document& document, RigDialogs& dialogs, QAction& command,
                                     QWidget& windowParent, QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      windowParent_(windowParent),
      job_(new BearingJob(this)),
      printers_(CupsPrinterAccess()) {
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, [this] { open(); });
}

bool BearingController::busy() const {
    return job_->busy();
}

void BearingController::createWindow() {
    window_ = new BearingScanWindow(&windowParent_);
    connect(window_->start, &QPushButton::clicked, this, [this] { startClick(); });
    connect(window_->stop, &QPushButton::clicked, this, [this] { stopClick(); });
    connect(window_->save, &QPushButton::clicked, this, [this] { saveClick(); });
    connect(window_->copy, &QPushButton::clicked, this, [this] { copyClick(); });
    connect(window_->print, &QPushButton::clicked, this, [this] { printClick(); });
}

void BearingController::open() {
    if (!window_) createWindow();
    redraw();
    if (!window_->isVisible()) FitIntoScreen(*window_);
    window_->show();
    window_->raise();
}

bool BearingController::startClick() {
    if (busy() || !window_) return false;
    const char sep = SystemDecimalSeparator();
    const AppSettings& settings = document_.settings();
    BearingJobRequest r;
    r.sep = sep;
    r.plan = SweepPlanOf(settings.rig, document_.bandwidthText());
    r.rig = settings.rig.connection;
    if (settings.sdr.chosen()) {
        if (const std::string missing = SdrNotSetUp(settings.sdr); !missing.empty()) {
            dialogs_.show({MessageKind::Error, missing});
            return false;
        }
        r.sdr = settings.sdr.device;
    }
    try {
        r.rotator = rotator::ParseRotctldAddress(window_->rotator->text().trimmed().toStdString());
        r.bearings = rotator::ScanBearings(
            {window_->from->value(), window_->to->value(), window_->step->value()});
        rig::CheckCalibrationOffsets(r.plan.reading.offsets, sep);
        r.where = rig::ResolveTarget(receiver::Target::Band(window_->band->currentText().toStdString()),
                                     r.plan.reading, sep);
    } catch (const std::invalid_argument& e) {
        dialogs_.show({MessageKind::Error, e.what()});
        return false;
    }
    const std::size_t count = r.bearings.size();
    count_ = count;
    title_ = "Bearing scan, " + r.where.label + ", " + DateTimeText(CurrentLocalTime());
    levels_.clear();
    estimate_.reset();
    unit_.clear();
    BearingJobCallbacks cb;
    cb.started = [this](const std::string& rotator, const std::string& unit) {
        window_->model->setText(ToQString(rotator));
        unit_ = unit;
    };
    cb.turning = [this](const rotator::ScanStep& s) {
        window_->progress->setText(ToQString("Turning to " + rotator::DegreesText(s.azimuthDeg) +
                                             " (" + std::to_string(s.index + 1) + " of " +
                                             std::to_string(s.count) + ")…"));
    };
    cb.reading = [this](const BearingLevel& l) {
        levels_.push_back(l);
        redraw();
    };
    cb.returning = [this](double deg) {
        window_->progress->setText(ToQString("Turning the rotator back to " +
                                             rotator::DegreesText(deg) + "…"));
    };
    cb.finished = [this](const BearingJobOutcome& outcome) { finished(outcome); };
    if (!job_->start(std::move(r), std::move(cb))) return false;
    window_->progress->setText(ToQString("Taking the rotator and the receiver for " +
                                         std::to_string(count) + " bearings…"));
    setRunning(true);
    redraw();
    return true;
}

void BearingController::stopClick() {
    if (!busy()) return;
    if (job_->cancelling()) {
        job_->hurry();
        window_->progress->setText(QStringLiteral("Leaving the rotator where it is…"));
        return;
    }
    job_->cancel();
    window_->progress->setText(
        QStringLiteral("Stopping; the rotator turns back (Stop again leaves it)…"));
}

void BearingController::setRunning(bool running) {
    window_->start->setEnabled(!running);
    window_->stop->setEnabled(running);
    for (QWidget* w : std::initializer_list<QWidget*>{window_->rotator, window_->from, window_->to,
                                                      window_->step, window_->band})
        w->setEnabled(!running);
}

void BearingController::finished(const BearingJobOutcome& outcome) {
    setRunning(false);
    const rotator::ScanResult& s = outcome.scan;
    estimate_ = s.estimate;
    redraw();
    std::string text;
    if (!outcome.startFailure.empty()) {
        text = "The scan could not start: " + outcome.startFailure;
    } else {
        if (!s.failure.empty()) text = s.failure;
        if (!s.receiverFailure.empty())
            text += (text.empty() ? "" : "\n") +
                    std::string("The receiver's tuning could not be restored: ") + s.receiverFailure;
        if (!s.returnFailure.empty())
            text += (text.empty() ? "" : "\n") + std::string("The rotator is not back: ") + s.returnFailure;
    }
    window_->progress->setText(ToQString(
        s.estimate ? BearingSummary(*s.estimate)
                   : s.cancelled ? "Stopped after " + std::to_string(s.levels.size()) + " of " +
                                     std::to_string(count_) + " bearings."
                                 : std::string("Not finished.")));
    if (!text.empty()) dialogs_.show({MessageKind::Error, text});
}

void BearingController::redraw() {
    if (!window_) return;
    BearingPolarInputs in;
    in.width = BearingScanWindow::PictureSide;
    in.height = BearingScanWindow::PictureSide;
    in.title = title_.empty() ? std::string("Bearing scan") : title_;
    in.levels = levels_;
    in.estimate = estimate_;
    in.unit = unit_;
    const BearingPolarDrawing drawing = DescribeBearingPolar(in);
    const auto draw = [&drawing](DiagramCanvas& canvas) { DrawBearingPolar(canvas, drawing); };
    // Drawn at the screen's device pixels, so that it is sharp at any scale.
    const double ratio = window_->image->devicePixelRatioF();
    picture_ = DrawAtRatio(in.width, in.height, 1.0, draw);
    QPixmap shown = QPixmap::fromImage(
        PictureToQImage(ratio == 1.0 ? picture_ : DrawAtRatio(in.width, in.height, ratio, draw)));
    shown.setDevicePixelRatio(ratio);
    window_->image->setPixmap(shown);
}

void BearingController::saveClick() {
    const LocalTime today = CurrentLocalTime();
    FileDialogRequest request = PictureSaveRequest(today);
    request.title = QStringLiteral("Save Bearing Scan");
    request.proposedName = QString::fromStdString(YymmddText(today)) + QStringLiteral("_Bearing.bmp");
    request.confirmOverwrite = true;
    SavePictureAs(dialogs_, picture_, request);
}

void BearingController::copyClick() {
    CopyPictureToClipboard(dialogs_, picture_);
}

void BearingController::printClick() {
    PrintPicture(jobs_, dialogs_, printers_, picture_, window_->windowTitle(), *window_->print);
}

}  // namespace fw
