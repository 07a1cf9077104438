#include "app/display_controller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <exception>

#include "app/control_style.h"
#include "libs/int_text.h"
#include "app/main_window.h"
#include "model/noise_model.h"
#include "output/qimage_picture.h"
#include "diagram/render.h"

namespace fw {

namespace {

const QString BandwidthRefusedText = QStringLiteral("Bandwidth must be an integer number!");

}  // namespace

DisplayController::DisplayController(MainWindow& window) : QObject(&window), window_(window) {
    MainControls& c = controls();
    connect(c.CBBandWidth, &QComboBox::currentTextChanged, this, [this] { updateNoise(); });
    for (QScrollBar* bar : {c.LMDScrollBarPos, c.LMDScrollBarWidth})
        connect(bar, &QScrollBar::valueChanged, this, [this] { Scroll(); });
    c.LaBandwidth->installEventFilter(this);
}

MainControls& DisplayController::controls() {
    return window_.controls();
}

void DisplayController::FormCreate() {
    MainControls& c = controls();
    const AppState& s = window_.state();
    {
        // Placing the bars is not a movement by the user and must not redraw.
        const QSignalBlocker blockPos(c.LMDScrollBarPos);
        const QSignalBlocker blockWidth(c.LMDScrollBarWidth);
        c.LMDScrollBarPos->setValue(s.YPos);  // setValue clamps to the bar's range
        c.LMDScrollBarWidth->setValue(s.YWidth);
    }
    applyDebugPanel();
    window_.setResizableBorder(s.AutoLayout);
}

void DisplayController::updateNoise() {
    if (refusing_) return;
    MainControls& c = controls();
    const std::optional<std::int32_t> bandwidth =
        ParseIntText(c.CBBandWidth->currentText().toStdString());
    if (!bandwidth) {
        refuseBandwidth();
        return;
    }
    const ReferenceCurves curves = computeReferenceCurves(*bandwidth);
    const int w = c.ImPlot->width();
    const int h = c.ImPlot->height();
    c.Memo3->appendPlainText(QStringLiteral("w:%1").arg(w));
    c.Memo3->appendPlainText(QStringLiteral("h:%1").arg(h));

    const AppState& s = window_.state();
    DiagramInputs in;
    in.width = w;
    in.height = h;
    in.curves = &curves;
    in.bandwidthCorrection = c.CBbwMode->isChecked();
    in.measurements = window_.measurementDots();
    in.yPos = s.YPos;
    in.yWidth = s.YWidth;
    in.locator = s.Locator;
    in.measDateTime = s.MeasDateTime;
    DiagramPicture next;
    try {
        next = renderDiagram(in);
    } catch (const std::exception& e) {
        // The unfinished picture is dropped; the previous one stays on screen.
        window_.dialogs().error(QString::fromLocal8Bit(e.what()));
        return;
    }
    picture_ = std::move(next);
    pictureBandwidthHz_ = *bandwidth;
    // The pixmap takes its own copy; the view spares a second one on every redraw.
    c.ImPlot->setPixmap(QPixmap::fromImage(PictureImageView(picture_)));
    emit pictureReplaced();
}

void DisplayController::refuseBandwidth() {
    QComboBox* box = controls().CBBandWidth;
    refusing_ = true;
    window_.dialogs().information(BandwidthRefusedText);
    {
        // The reset is no change by the user: no change event, no redraw.
        const QSignalBlocker block(box);
        box->setCurrentIndex(0);
        box->setEditText(box->itemText(0));
    }
    refusing_ = false;
}

void DisplayController::Scroll() {
    MainControls& c = controls();
    AppState& s = window_.state();
    s.YPos = c.LMDScrollBarPos->value();
    s.YWidth = c.LMDScrollBarWidth->value();
    window_.updateUserList();
    updateNoise();
}

void DisplayController::FormResize(Size outer) {
    if (!window_.state().AutoLayout || resizing_) return;
    const MainLayout layout = FormResizeLayout(outer);
    applyLayout(layout);
    updateNoise();
}

void DisplayController::applyLayout(const MainLayout& layout) {
    MainControls& c = controls();
    if (window_.outerSize() != layout.window) {
        resizing_ = true;
        window_.setOuterSize(layout.window);
        resizing_ = false;
    }
    PlaceWidget(c.Panel1, layout.panel1);
    PlaceWidget(c.GBDia, layout.gbDia);
    PlaceWidget(c.ImPlot, layout.imPlot);
    PlaceWidget(c.GBUD, layout.gbud);
    PlaceWidget(c.LBUserData, layout.lbUserData);
}

void DisplayController::LaBandwidthMouseDown(ShiftState keys) {
    AppState& s = window_.state();
    const ToggleResult r = ApplyLabelToggles(s, keys);
    if (r.debugChanged) applyDebugPanel();
    if (r.layoutChanged) window_.setResizableBorder(s.AutoLayout);
}

void DisplayController::applyDebugPanel() {
    QFrame* panel = controls().PanDebug;
    const bool on = window_.state().DebugVisible;
    panel->setEnabled(on);
    panel->setVisible(on);
}

bool DisplayController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls().LaBandwidth && event->type() == QEvent::MouseButtonPress) {
        const Qt::KeyboardModifiers mods = static_cast<QMouseEvent*>(event)->modifiers();
        LaBandwidthMouseDown(ShiftState{.shift = mods.testFlag(Qt::ShiftModifier),
                                        .alt = mods.testFlag(Qt::AltModifier),
                                        .ctrl = mods.testFlag(Qt::ControlModifier)});
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace fw
