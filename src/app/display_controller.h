#pragma once
// The display controls: bandwidth box, level-axis scroll bars, the toggles on the bandwidth
// label, the layout rule on resize, and the redraw of the diagram.
#include <QObject>
#include <cstdint>

#include "app/logic/app_state.h"
#include "app/logic/layout_rule.h"
#include "diagram/picture.h"

namespace fw {

class MainWindow;
struct MainControls;

class DisplayController : public QObject {
    Q_OBJECT

  public:
    explicit DisplayController(MainWindow& window);

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
    const DiagramPicture& picture() const { return picture_; }
    std::int32_t pictureBandwidthHz() const { return pictureBandwidthHz_; }

  signals:
    void pictureReplaced();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    MainControls& controls();
    void refuseBandwidth();
    void applyDebugPanel();
    void applyLayout(const MainLayout& layout);

    MainWindow& window_;
    DiagramPicture picture_;
    std::int32_t pictureBandwidthHz_ = 0;
    bool refusing_ = false;  // the bandwidth message is open
    bool resizing_ = false;  // the window size is being set by the layout rule
};

}  // namespace fw
