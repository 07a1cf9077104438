#include "app/rig/spectrum_controller.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "app/rig/spectrum_window.h"
#include "app/window/qt_text.h"
#include "app/window/screen_fit.h"
#include "diagram/scaled_canvas.h"
#include "libs/date_text.h"
#include "libs/regional.h"
#include "output/qt/qimage_picture.h"
#include "spectrum/spectrum_view.h"

namespace fw {

SpectrumController::SpectrumController(RigDialogs& dialogs, QAction& command,
                                       QWidget& windowParent, QObject* parent)
    : QObject(parent), dialogs_(dialogs), windowParent_(windowParent), printers_(CupsPrinterAccess()) {
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, [this] { open(); });
}

void SpectrumController::createWindow() {
    window_ = new SpectrumWindow(&windowParent_);
    connect(window_->reading, &QComboBox::currentIndexChanged, this, [this] { redraw(); });
    connect(window_->save, &QPushButton::clicked, this, [this] { saveClick(); });
    connect(window_->copy, &QPushButton::clicked, this, [this] { copyClick(); });
    connect(window_->print, &QPushButton::clicked, this, [this] { printClick(); });
}

void SpectrumController::begin() {
    readings_.clear();
    if (!window_) return;
    const QSignalBlocker quiet(window_->reading);
    window_->reading->clear();
}

void SpectrumController::add(const receiver::Reading& reading) {
    const auto same = std::find_if(readings_.begin(), readings_.end(), [&](const auto& r) {
        return r.where.label == reading.where.label;
    });
    const int index = static_cast<int>(same - readings_.begin());
    if (same == readings_.end())
        readings_.push_back(reading);
    else
        *same = reading;
    if (!window_) return;
    // The newest reading is shown as it comes in.
    if (index == window_->reading->count()) window_->reading->addItem(ToQString(reading.where.label));
    if (index == window_->reading->currentIndex()) redraw();
    window_->reading->setCurrentIndex(index);
}

void SpectrumController::open() {
    if (readings_.empty()) {
        dialogs_.show({MessageKind::Information,
                       "No SDR measurement yet. Choose \"SDR (SoapySDR)\" in Rig Settings… and "
                       "measure with Measure Noise or Sweep Bands…."});
        return;
    }
    if (!window_) createWindow();
    {
        const QSignalBlocker quiet(window_->reading);
        window_->reading->clear();
        for (const receiver::Reading& r : readings_)
            window_->reading->addItem(ToQString(r.where.label));
        window_->reading->setCurrentIndex(window_->reading->count() - 1);
    }
    redraw();
    if (!window_->isVisible()) FitIntoScreen(*window_);
    window_->show();
    window_->raise();
}

void SpectrumController::redraw() {
    const int index = window_->reading->currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= readings_.size()) return;
    const SpectrumViewInputs in =
        SpectrumViewOf(readings_[static_cast<std::size_t>(index)], SystemDecimalSeparator());
    const SpectrumDrawing drawing = DescribeSpectrum(in);
    const auto draw = [&drawing](DiagramCanvas& canvas) { DrawSpectrum(canvas, drawing); };
    // Drawn at the screen's device pixels, so that it is sharp at any scale.
    const double ratio = window_->image->devicePixelRatioF();
    picture_ = DrawAtRatio(in.width, in.height, 1.0, draw);
    QPixmap shown = QPixmap::fromImage(PictureToQImage(
        ratio == 1.0 ? picture_ : DrawAtRatio(in.width, in.height, ratio, draw)));
    shown.setDevicePixelRatio(ratio);
    window_->image->setPixmap(shown);
}

void SpectrumController::saveClick() {
    const LocalTime today = CurrentLocalTime();
    FileDialogRequest request = PictureSaveRequest(today);
    request.title = QStringLiteral("Save Spectrum");
    // A name of its own, so that it does not replace the day's diagram, and a question
    // before it replaces another file.
    request.proposedName = QString::fromStdString(YymmddText(today)) + QStringLiteral("_Spectrum.bmp");
    request.confirmOverwrite = true;
    SavePictureAs(dialogs_, picture_, request);
}

void SpectrumController::copyClick() {
    CopyPictureToClipboard(dialogs_, picture_);
}

void SpectrumController::printClick() {
    PrintPicture(jobs_, dialogs_, printers_, picture_, window_->windowTitle(), *window_->print);
}

}  // namespace fw
