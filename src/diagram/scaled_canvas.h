#pragma once
// A canvas that draws the diagram's logical coordinates at a device pixel ratio: every
// position, length, line width, dot radius and text size is scaled, so that a HiDPI screen
// shows a sharp picture instead of a smoothed-up one.
#include <functional>

#include "diagram/canvas.h"

namespace fw {

class ScaledCanvas final : public DiagramCanvas {
  public:
    // Draws on `device`, whose size is the logical size times `ratio` (> 0).
    ScaledCanvas(DiagramCanvas& device, double ratio);

    void ClearCanvas() override;
    void SetFont(std::string_view family, int sizePt) override;
    void DrawLine(int x1, int y1, int x2, int y2, Rgb colour) override;
    void DrawDot(int x, int y, int r, Rgb colour) override;
    void DrawDots(std::span<const DotCentre> centres, int r, Rgb colour) override;
    void FillBox(int x, int y, int w, int h, Rgb colour) override;
    void DrawBox(int x, int y, int w, int h, Rgb fill, Rgb outline) override;
    void DrawText(int x, int y, std::string_view text, Rgb fg, Rgb bg) override;
    void DrawTextUp(int x, int y, std::string_view text, Rgb fg, Rgb bg) override;
    void SetClip(int x, int y, int w, int h) override;
    void ResetClip() override;
    void FillTriangle(int x, int y, int height, bool up, Rgb colour) override;

  private:
    int px(int logical) const;

    DiagramCanvas& device_;
    double ratio_;
    int stroke_;  // device pixels of a one-pixel line
    std::vector<DotCentre> centres_;
};

// Runs `draw` (logical coordinates of a width x height picture) on a raster canvas of that
// size times `ratio`, and returns its picture; a ratio of 1 draws without scaling.
DiagramPicture DrawAtRatio(int width, int height, double ratio,
                           const std::function<void(DiagramCanvas&)>& draw);

}  // namespace fw
