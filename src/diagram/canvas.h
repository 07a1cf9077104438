#pragma once
// The abstract raster canvas the diagram is drawn on. Every primitive takes its colours
// as arguments, so no primitive depends on what an earlier one left set.
#include <span>
#include <string_view>

#include "diagram/picture.h"

namespace fw {

struct DotCentre {
    int x = 0;
    int y = 0;
};

struct LineSegment {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class DiagramCanvas {
  public:
    virtual ~DiagramCanvas() = default;

    // Every pixel becomes #FFFFFF.
    virtual void ClearCanvas() = 0;
    // Following texts use this font; size s points has an em height of round(s * 96 / 72) px.
    virtual void SetFont(std::string_view family, int sizePt) = 0;
    // One-pixel line; the start pixel is drawn, the end pixel is not.
    virtual void DrawLine(int x1, int y1, int x2, int y2, Rgb colour) = 0;
    // DrawLine for each segment in order; lines of one colour may be drawn in any order.
    virtual void DrawLines(std::span<const LineSegment> lines, Rgb colour) {
        for (const LineSegment& l : lines) DrawLine(l.x1, l.y1, l.x2, l.y2, colour);
    }
    // A filled disc inscribed in x - r <= px < x + r, y - r <= py < y + r.
    virtual void DrawDot(int x, int y, int r, Rgb colour) = 0;
    // DrawDot for each centre in order. Dots of one colour may be drawn in any order, so a
    // raster canvas can paint their union at once.
    virtual void DrawDots(std::span<const DotCentre> centres, int r, Rgb colour) {
        for (const DotCentre& c : centres) DrawDot(c.x, c.y, r, colour);
    }
    // Fills x <= px < x + w, y <= py < y + h.
    virtual void FillBox(int x, int y, int w, int h, Rgb colour) = 0;
    // The same area filled with `fill` and bordered by a one-pixel outline.
    virtual void DrawBox(int x, int y, int w, int h, Rgb fill, Rgb outline) = 0;
    // Text whose cell (advance width x line height) has its top-left corner at (x, y);
    // the cell is filled with bg first, then the glyphs are drawn in fg.
    virtual void DrawText(int x, int y, std::string_view text, Rgb fg, Rgb bg) = 0;
    // Like DrawText, rotated 90 degrees counter-clockwise: reads from bottom to top,
    // starting at (x, y); the cell spans x .. x + line height and y - text width .. y.
    virtual void DrawTextUp(int x, int y, std::string_view text, Rgb fg, Rgb bg) = 0;
    // Following marks change only pixels with x <= px < x + w and y <= py < y + h, until
    // ResetClip. A canvas that only records the calls may ignore the clip.
    virtual void SetClip(int /*x*/, int /*y*/, int /*w*/, int /*h*/) {}
    virtual void ResetClip() {}
    // A filled isosceles triangle pointing up (or down) with its tip at (x, y): `height`
    // rows, the k-th from the tip spanning x - k <= px <= x + k.
    virtual void FillTriangle(int x, int y, int height, bool up, Rgb colour) {
        for (int k = 0; k < height; ++k) FillBox(x - k, up ? y + k : y - k, 2 * k + 1, 1, colour);
    }
};

// A line plus a two-stroke head at (x2, y2). head > 0 is the head length in pixels,
// head < 0 a percentage of the line length, head = 0 means 15 % of it.
void DrawArrow(DiagramCanvas& canvas, int x1, int y1, int x2, int y2, Rgb colour, int head);

}  // namespace fw
