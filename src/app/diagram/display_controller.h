#pragma once
// The display controls: bandwidth box, level-axis scroll bars, the toggles on the bandwidth
// label, the layout rule on resize, and the redraw of the diagram whenever the document
// announces a change.
#include <QObject>
#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "app/window/window_frame.h"
#include "measure/itu_coefficient_cache.h"
#include "model/atmospheric_layer.h"
#include "model/outcome.h"

class QAction;

namespace fw {

class DisplayController : public QObject {
    Q_OBJECT

  public:
    // `layers` are the "View" menu's two items: decile bands and atmospheric noise.
    DisplayController(Document& document, MessageDialogs& dialogs, const DisplayControls& controls,
                      const std::array<QAction*, 2>& layers, WindowFrame& frame, QObject* parent);

    // The display part of the window's creation handler: bar positions and the
    // diagnostic panel after the start-up state has been set.
    void FormCreate();

    // Reads the bandwidth, computes the curves, renders at the image's size and shows
    // the new picture. A refused bandwidth text is reported and reset to "2700".
    void updateNoise();
    // Either level-axis bar moved: both are read, then the list and diagram are rebuilt.
    void Scroll();
    // The window's outer size changed.
    void FormResize(Size outer);
    // A mouse press on the bandwidth label.
    void LaBandwidthMouseDown(ShiftState keys);

    // The picture shown now and the bandwidth it was drawn for.
    const DiagramPicture& picture() const { return document_.picture(); }
    std::int32_t pictureBandwidthHz() const { return document_.pictureBandwidthHz(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void refuseBandwidth();
    void showBandwidthText(const QString& text);
    void applyDebugPanel();
    void applyLayout(const MainLayout& layout);
    // The atmospheric layer for the document's locator and time, made again only when they
    // changed; null when it is switched off or cannot be made (the reason goes to the panel).
    const AtmosphericLayer* atmosphericLayer(std::span<const double> gridHz);

    Document& document_;
    MessageDialogs& dialogs_;
    DisplayControls c_;
    WindowFrame& frame_;
    std::array<QAction*, 2> layers_;
    std::string layerKey_;  // locator and time the layer below was made for
    // Shared with a logical picture not drawn yet, which must outlive a newer layer.
    std::shared_ptr<const Outcome<AtmosphericLayer>> layer_;
    bool refusing_ = false;  // the bandwidth message is open
    bool resizing_ = false;  // the window size is being set by the layout rule
};

}  // namespace fw
