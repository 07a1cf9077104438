#include "logviews/view_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "libs/number_text.h"
#include "diagram/raster_canvas.h"
#include "libs/fw_math.h"
#include "model/noise_model.h"

namespace fw {

namespace {


constexpr std::array<Rgb, 13> BandColours = {
    RgbHex(0x1F77B4), RgbHex(0xFF7F0E), RgbHex(0x2CA02C), RgbHex(0xD62728), RgbHex(0x9467BD),
    RgbHex(0x8C564B), RgbHex(0xE377C2), RgbHex(0x7F7F7F), RgbHex(0xBCBD22), RgbHex(0x17BECF),
    RgbHex(0x000080), RgbHex(0x808000), RgbHex(0x800000)};

std::string LevelText(double v) {
    return FixedText(v, 0);
}

}  // namespace

int LinearAxis::pixel(double v) const {
    return pixelLow_ + RoundPx((v - low_) * scale_);
}

LevelRange LevelRangeFor(std::span<const double> values, double footClearanceDb) {
    double low = 0, high = 0;
    bool any = false;
    for (double v : values) {
        if (!std::isfinite(v)) continue;
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    }
    if (!any) return LevelRange{};
    // The lowest value stands `footClearanceDb` above the level axis's foot, so that a dot
    // drawn there stays clear of the frequency or time axis.
    LevelRange r{std::floor((low - footClearanceDb) / 10) * 10, std::ceil(high / 10) * 10};
    if (r.high - r.low < 20) r.high = r.low + 20;
    return r;
}

ViewFrame MakeViewFrame(int width, int height) {
    return ViewFrame{makePlotFrame(width, height), width, height};
}

LinearAxis DrawViewBase(DiagramCanvas& canvas, const ViewFrame& f, const LevelRange& range,
                        std::string_view title, std::string_view unit) {
    const PlotFrame& p = f.plot;
    const LinearAxis levels(range.low, range.high, p.bottom, f.top());
    canvas.ClearCanvas();
    canvas.SetFont(DiagramFontFamily, p.mainFontSize);
    const double step = range.high - range.low > 100 ? 20 : 10;
    for (double v = range.low; v <= range.high; v += step / 2)
        canvas.DrawLine(p.left, levels.pixel(v), f.right(), levels.pixel(v), GreyLevel(0.9));
    for (double v = range.low; v <= range.high; v += step) {
        canvas.DrawLine(p.left, levels.pixel(v), f.right(), levels.pixel(v), GreyLevel(0.7));
        canvas.DrawText(p.left - RoundPx(0.06 * p.plotWidth),
                        levels.pixel(v) - RoundPx(0.02 * p.plotHeight), LevelText(v), Black, White);
    }
    DrawArrow(canvas, p.left, p.bottom, p.left + RoundPx(1.05 * p.plotWidth), p.bottom, Black, 10);
    DrawArrow(canvas, p.left, p.bottom, p.left, p.bottom - RoundPx(1.05 * p.plotHeight), Black, 10);
    // The unit reads upwards from near the axis's top; a long one starts lower, so that it
    // stays whole inside the picture (a character is taken as at most 0.7 em wide).
    const int unitLength =
        static_cast<int>(std::ceil(0.7 * EmPixelsForPoints(p.mainFontSize) * unit.size()));
    const int unitStart = std::min(p.bottom, std::max(p.bottom - RoundPx(0.9 * p.plotHeight),
                                                      unitLength + 2));
    canvas.DrawTextUp(p.left - RoundPx(0.13 * p.plotWidth), unitStart, unit, Black, White);
    canvas.SetFont(DiagramFontFamily, p.titleFontSize);
    canvas.DrawText(RoundPx(0.12 * f.width), RoundPx(0.04 * f.height), title, Black, White);
    canvas.SetFont(DiagramFontFamily, p.mainFontSize);
    return levels;
}

void DrawReferenceLines(DiagramCanvas& canvas, const ViewFrame& f,
                        std::span<const ReferenceLine> lines) {
    std::vector<const ReferenceLine*> shown;
    for (const ReferenceLine& line : lines) {
        if (line.y < f.top() || line.y > f.plot.bottom) continue;  // off the level axis
        shown.push_back(&line);
        std::vector<LineSegment> dashes;
        const int dash = std::max(1, line.dash);
        for (int x = f.plot.left; x < f.right(); x += 2 * dash)
            dashes.push_back({x, line.y, std::min(x + dash, f.right()), line.y});
        canvas.DrawLines(dashes, line.colour);
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [](const ReferenceLine* a, const ReferenceLine* b) { return a->y < b->y; });
    const int lineHeight = RoundPx(1.3 * f.plot.mainFontSize);
    int nextFree = f.top() - lineHeight;
    for (const ReferenceLine* line : shown) {
        const int top = std::max(line->y - lineHeight / 2, nextFree);
        canvas.DrawText(f.right() + 4, top, line->label, line->colour, White);
        nextFree = top + lineHeight;
    }
}

void DrawViewLegend(DiagramCanvas& canvas, const ViewFrame& f, std::span<const LegendRow> rows) {
    if (rows.empty()) return;
    const int fs = f.plot.mainFontSize;
    const int rp = RoundPx(1.8 * fs);
    const int lx = f.plot.left + 8;
    const int ly = f.top() + 8;
    std::size_t longest = 0;
    for (const LegendRow& r : rows) longest = std::max(longest, r.text.size());
    const int count = static_cast<int>(rows.size());
    canvas.DrawBox(lx, ly, fs * static_cast<int>(longest) + rp + 6, count * rp + 4, White, Black);
    for (int k = 0; k < count; ++k) {
        canvas.FillBox(lx + 2, ly + 4 + k * rp, fs, fs, rows[static_cast<std::size_t>(k)].colour);
        canvas.DrawText(lx + rp, ly + 2 + k * rp, rows[static_cast<std::size_t>(k)].text, Black,
                        White);
    }
}

void DrawLegendLine(DiagramCanvas& canvas, const ViewFrame& f, int x, int y,
                    std::span<const LegendRow> rows) {
    const int fs = f.plot.mainFontSize;
    const int rp = RoundPx(1.8 * fs);
    for (const LegendRow& row : rows) {
        canvas.FillBox(x, y + 2, fs, fs, row.colour);
        canvas.DrawText(x + rp, y, row.text, Black, White);
        x += rp + fs * static_cast<int>(row.text.size()) + rp;  // as wide as the boxed legend's
    }
}

Rgb BandColour(std::size_t i) {
    return BandColours[i % BandColours.size()];
}

std::vector<ReferenceLevel> ManMadeLevels(double freqMHz, double bandwidthHz) {
    std::vector<ReferenceLevel> out;
    const double L = SafeLog10(freqMHz);
    for (const NoiseEnv& env : NoiseEnvs) {
        if (env.galactic) continue;
        out.push_back({env.legend, FieldOfNoiseFactor(env.c - env.d * L, freqMHz, bandwidthHz)});
    }
    return out;
}

double FieldOfNoiseFactor(double faDb, double freqMHz, double bandwidthHz) {
    return faDb + 20 * SafeLog10(freqMHz) + 10 * SafeLog10(bandwidthHz) - 98.9;
}

}  // namespace fw
