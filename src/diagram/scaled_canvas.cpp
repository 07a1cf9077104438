#include "diagram/scaled_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "diagram/raster_canvas.h"
#include "libs/fw_math.h"

namespace fw {

ScaledCanvas::ScaledCanvas(DiagramCanvas& device, double ratio)
    : device_(device), ratio_(ratio), stroke_(std::max(1, RoundPx(ratio))) {}

int ScaledCanvas::px(int logical) const {
    return RoundPx(logical * ratio_);
}

void ScaledCanvas::ClearCanvas() {
    device_.ClearCanvas();
}

void ScaledCanvas::SetFont(std::string_view family, int sizePt) {
    device_.SetFont(family, std::max(1, RoundPx(sizePt * ratio_)));
}

void ScaledCanvas::DrawLine(int x1, int y1, int x2, int y2, Rgb colour) {
    if (y1 == y2 || x1 == x2) {
        // The logical pixels from the start up to, not including, the end: a box of them.
        if (x1 == x2 && y1 == y2) return;
        const int left = x1 == x2 ? x1 : (x1 < x2 ? x1 : x2 + 1);
        const int top = y1 == y2 ? y1 : (y1 < y2 ? y1 : y2 + 1);
        const int w = x1 == x2 ? 1 : std::abs(x2 - x1);
        const int h = y1 == y2 ? 1 : std::abs(y2 - y1);
        FillBox(left, top, w, h, colour);
        return;
    }
    // A sloped line: parallel device lines side by side, across its main direction.
    const bool flat = std::abs(x2 - x1) >= std::abs(y2 - y1);
    for (int k = 0; k < stroke_; ++k) {
        const int dx = flat ? 0 : k;
        const int dy = flat ? k : 0;
        device_.DrawLine(px(x1) + dx, px(y1) + dy, px(x2) + dx, px(y2) + dy, colour);
    }
}

void ScaledCanvas::DrawDot(int x, int y, int r, Rgb colour) {
    device_.DrawDot(px(x), px(y), std::max(1, RoundPx(r * ratio_)), colour);
}

void ScaledCanvas::DrawDots(std::span<const DotCentre> centres, int r, Rgb colour) {
    centres_.resize(centres.size());
    std::transform(centres.begin(), centres.end(), centres_.begin(), [this](DotCentre c) {
        return DotCentre{px(c.x), px(c.y)};
    });
    device_.DrawDots(centres_, std::max(1, RoundPx(r * ratio_)), colour);
}

void ScaledCanvas::FillBox(int x, int y, int w, int h, Rgb colour) {
    device_.FillBox(px(x), px(y), px(x + w) - px(x), px(y + h) - px(y), colour);
}

void ScaledCanvas::DrawBox(int x, int y, int w, int h, Rgb fill, Rgb outline) {
    const int left = px(x), top = px(y);
    const int width = px(x + w) - left, height = px(y + h) - top;
    device_.FillBox(left, top, width, height, outline);
    device_.FillBox(left + stroke_, top + stroke_, width - 2 * stroke_, height - 2 * stroke_, fill);
}

void ScaledCanvas::DrawText(int x, int y, std::string_view text, Rgb fg, Rgb bg) {
    device_.DrawText(px(x), px(y), text, fg, bg);
}

void ScaledCanvas::DrawTextUp(int x, int y, std::string_view text, Rgb fg, Rgb bg) {
    device_.DrawTextUp(px(x), px(y), text, fg, bg);
}

DiagramPicture DrawAtRatio(int width, int height, double ratio,
                           const std::function<void(DiagramCanvas&)>& draw) {
    if (ratio == 1.0) {
        RasterCanvas canvas(width, height);
        draw(canvas);
        return canvas.takePicture();
    }
    RasterCanvas device(RoundPx(width * ratio), RoundPx(height * ratio));
    ScaledCanvas canvas(device, ratio);
    draw(canvas);
    return device.takePicture();
}

void ScaledCanvas::SetClip(int x, int y, int w, int h) {
    device_.SetClip(px(x), px(y), px(x + w) - px(x), px(y + h) - px(y));
}

void ScaledCanvas::ResetClip() {
    device_.ResetClip();
}

void ScaledCanvas::FillTriangle(int x, int y, int height, bool up, Rgb colour) {
    // The tip lies in the outermost device row of the logical tip pixel.
    device_.FillTriangle(px(x), up ? px(y) : px(y + 1) - 1, std::max(1, RoundPx(height * ratio_)),
                         up, colour);
}

}  // namespace fw
