#include "app/diagram/display_controller.h"

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

#include <QAction>
#include "app/window/control_style.h"
#include "diagram/render.h"
#include "libs/int_text.h"
#include "libs/startup_values.h"
#include "measure/station_atmosphere.h"
#include "model/noise_model.h"
#include "output/qt/qimage_picture.h"

namespace fw {

DisplayController::DisplayController(Document& document, MessageDialogs& dialogs,
                                     const DisplayControls& controls,
                                     const std::array<QAction*, 2>& layers, WindowFrame& frame,
                                     QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      c_(controls),
      frame_(frame),
      layers_(layers) {
    for (QAction* layer : layers_) {
        layer->setEnabled(true);
        connect(layer, &QAction::toggled, this,
                [this] { document_.setLayers(layers_[0]->isChecked(), layers_[1]->isChecked()); });
    }
    connect(c_.CBBandWidth, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { document_.setBandwidthText(text.toStdString()); });
    for (QScrollBar* bar : {c_.LMDScrollBarPos, c_.LMDScrollBarWidth})
        connect(bar, &QScrollBar::valueChanged, this, [this] { Scroll(); });
    connect(&document_, &Document::changed, this, [this] { updateNoise(); });
    connect(&document_, &Document::bandwidthTextReset, this,
            [this](const QString& text) { showBandwidthText(text); });
    c_.LaBandwidth->installEventFilter(this);
}

void DisplayController::FormCreate() {
    const AppState& s = document_.state();
    {
        // Placing the bars is not a movement by the user and must not redraw.
        const QSignalBlocker blockPos(c_.LMDScrollBarPos);
        const QSignalBlocker blockWidth(c_.LMDScrollBarWidth);
        c_.LMDScrollBarPos->setValue(s.YPos);  // setValue clamps to the bar's range
        c_.LMDScrollBarWidth->setValue(s.YWidth);
    }
    applyDebugPanel();
    frame_.setResizableBorder(s.AutoLayout);
}

void DisplayController::updateNoise() {
    if (refusing_) return;
    const std::optional<std::int32_t> bandwidth = ParseIntText(document_.bandwidthText());
    if (!bandwidth) {
        refuseBandwidth();
        return;
    }
    // Shared with the logical picture drawn later on demand.
    const auto curves =
        std::make_shared<const ReferenceCurves>(computeReferenceCurves(*bandwidth));
    const int w = c_.ImPlot->width();
    const int h = c_.ImPlot->height();
    c_.Memo3->appendPlainText(QStringLiteral("w:%1").arg(w));
    c_.Memo3->appendPlainText(QStringLiteral("h:%1").arg(h));

    const AppState& s = document_.state();
    DiagramInputs in;
    in.width = w;
    in.height = h;
    in.curves = curves.get();
    in.bandwidthCorrection = c_.CBbwMode->isChecked();
    in.measurements = document_.measurementDots();
    in.yPos = s.YPos;
    in.yWidth = s.YWidth;
    in.locator = s.Locator;
    in.measDateTime = s.MeasDateTime;
    in.deciles = document_.decileBands();
    in.atmospheric = atmosphericLayer(curves->freqGrid);
    // On a HiDPI screen the shown picture is drawn at device pixels, so that it is sharp;
    // the logical one that is saved, copied and printed is drawn only when one of them asks.
    const double ratio = c_.ImPlot->devicePixelRatioF();
    DiagramPicture shownPicture;
    try {
        shownPicture = ratio == 1.0 ? renderDiagram(in) : renderDiagramAt(in, ratio);
    } catch (const std::exception& e) {
        // The unfinished picture is dropped; the previous one stays on screen.
        dialogs_.show({MessageKind::Error, e.what()});
        return;
    }
    // The pixmap takes its own copy; the view spares a second one on every redraw.
    QPixmap shown = QPixmap::fromImage(PictureImageView(shownPicture));
    shown.setDevicePixelRatio(ratio);
    c_.ImPlot->setPixmap(shown);
    if (ratio == 1.0) {
        document_.showPicture(std::move(shownPicture), *bandwidth);
        return;
    }
    document_.showPictureDrawnOnDemand(
        [in, curves, layer = layer_] { return renderDiagram(in); }, *bandwidth);
}

const AtmosphericLayer* DisplayController::atmosphericLayer(std::span<const double> gridHz) {
    if (!document_.atmosphericNoise()) return nullptr;
    const AppState& s = document_.state();
    const std::string key = s.Locator + '\n' + s.MeasDateTime;
    const std::shared_ptr<const ItuCoefficientCache> coefficients =
        SharedItuCoefficients(s.ProgramDir);
    if (!layer_ || key != layerKey_) {
        layer_ = std::make_shared<const Outcome<AtmosphericLayer>>(
            StationAtmosphericLayer(s.Locator, s.MeasDateTime, gridHz, *coefficients));
        layerKey_ = key;
    }
    // Files read without their list of sums, and the reason of a layer not drawn, are told
    // on every redraw, as the panel is cleared by each entry.
    if (const std::string warning = coefficients->warning(); !warning.empty())
        c_.Memo3->appendPlainText(QString::fromStdString(warning));
    if (layer_->ok()) return &layer_->value();
    c_.Memo3->appendPlainText(QString::fromStdString(layer_->reason()));
    return nullptr;
}

void DisplayController::refuseBandwidth() {
    refusing_ = true;
    dialogs_.show({MessageKind::Information, std::string(BandwidthRefusedText)});
    document_.resetBandwidthText(c_.CBBandWidth->itemText(0).toStdString());
    refusing_ = false;
    updateNoise();  // the diagram follows the box again, not the refused text before it
}

void DisplayController::showBandwidthText(const QString& text) {
    // The reset is no change by the user: no change event, no redraw.
    const QSignalBlocker block(c_.CBBandWidth);
    c_.CBBandWidth->setCurrentIndex(0);
    c_.CBBandWidth->setEditText(text);
}

void DisplayController::Scroll() {
    document_.setLevelAxis(c_.LMDScrollBarPos->value(), c_.LMDScrollBarWidth->value());
}

void DisplayController::FormResize(Size outer) {
    if (!document_.state().AutoLayout || resizing_) return;
    const MainLayout layout = FormResizeLayout(outer);
    applyLayout(layout);
    updateNoise();
}

void DisplayController::applyLayout(const MainLayout& layout) {
    if (frame_.outerSize() != layout.window) {
        resizing_ = true;
        frame_.setOuterSize(layout.window);
        resizing_ = false;
    }
    PlaceWidget(c_.Panel1, layout.panel1);
    PlaceWidget(c_.GBDia, layout.gbDia);
    PlaceWidget(c_.ImPlot, layout.imPlot);
    PlaceWidget(c_.GBUD, layout.gbud);
    PlaceWidget(c_.LBUserData, layout.lbUserData);
}

void DisplayController::LaBandwidthMouseDown(ShiftState keys) {
    const ToggleResult r = document_.applyLabelToggles(keys);
    if (r.debugChanged) applyDebugPanel();
    if (r.layoutChanged) frame_.setResizableBorder(document_.state().AutoLayout);
}

void DisplayController::applyDebugPanel() {
    const bool on = document_.state().DebugVisible;
    c_.PanDebug->setEnabled(on);
    c_.PanDebug->setVisible(on);
}

bool DisplayController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.LaBandwidth && event->type() == QEvent::MouseButtonPress) {
        const Qt::KeyboardModifiers mods = static_cast<QMouseEvent*>(event)->modifiers();
        LaBandwidthMouseDown(ShiftState{.shift = mods.testFlag(Qt::ShiftModifier),
                                        .alt = mods.testFlag(Qt::AltModifier),
                                        .ctrl = mods.testFlag(Qt::ControlModifier)});
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace fw
