#include "logviews/bearing_polar.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "diagram/raster_canvas.h"
#include "diagram/render.h"
#include "libs/fw_math.h"
#include "logviews/view_frame.h"

namespace fw {

namespace {

constexpr int CircleSegments = 90;
constexpr int MainFontPt = 9;
constexpr int TitleFontPt = 11;
const Rgb TraceColour = BandColour(0);
const Rgb StrongestColour = BandColour(3);
const Rgb WeakestColour = BandColour(2);

struct Polar {
    int cx, cy;
    double radius;
    DotCentre at(double deg, double fraction) const {
        const double a = deg * std::numbers::pi / 180;
        return {RoundPx(cx + fraction * radius * std::sin(a)), RoundPx(cy - fraction * radius * std::cos(a))};
    }
};

std::string DegText(int deg) { return std::to_string(deg) + "°"; }

// The levels in scan order; on a full circle the last joins the first.
std::vector<LineSegment> Trace(const std::vector<DotCentre>& points, bool closed) {
    std::vector<LineSegment> trace;
    for (std::size_t i = 1; i < points.size(); ++i)
        trace.push_back({points[i - 1].x, points[i - 1].y, points[i].x, points[i].y});
    if (closed && points.size() > 2)
        trace.push_back({points.back().x, points.back().y, points.front().x, points.front().y});
    return trace;
}

}  // namespace

BearingPolarDrawing DescribeBearingPolar(const BearingPolarInputs& in) {
    BearingPolarDrawing d;
    d.width = in.width;
    d.height = in.height;
    d.title = in.title;
    const int em = EmPixelsForPoints(MainFontPt);
    const int top = 2 * EmPixelsForPoints(TitleFontPt) + em;
    const int bottom = 3 * em;
    d.radius = std::max(10, std::min(in.width / 2 - 3 * em, (in.height - top - bottom) / 2 - em));
    d.centreX = in.width / 2;
    d.centreY = top + em + d.radius;
    const Polar polar{d.centreX, d.centreY, static_cast<double>(d.radius)};

    double strongest = 0, weakest = 0;
    for (std::size_t i = 0; i < in.levels.size(); ++i) {
        strongest = i == 0 ? in.levels[i].levelDb : std::max(strongest, in.levels[i].levelDb);
        weakest = i == 0 ? in.levels[i].levelDb : std::min(weakest, in.levels[i].levelDb);
    }
    const double spread = std::max(10.0, strongest - weakest);
    const double step = spread > 20 ? 10 : 5;
    const double range = std::ceil(spread / step) * step;
    for (double below = 0; below <= range; below += step) {
        const double fraction = 1 - below / range;
        for (int k = 0; k < CircleSegments; ++k) {
            const DotCentre a = polar.at(360.0 * k / CircleSegments, fraction);
            const DotCentre b = polar.at(360.0 * (k + 1) / CircleSegments, fraction);
            d.rings.push_back({a.x, a.y, b.x, b.y});
        }
        if (below < range) {
            const DotCentre at = polar.at(0, fraction);
            d.ringLabels.push_back({at.x + 3, at.y + 1, (below == 0 ? "0" : "-" + std::to_string(static_cast<int>(below))) + " dB"});
        }
    }
    for (int deg = 0; deg < 360; deg += 30) {
        const DotCentre rim = polar.at(deg, 1);
        d.spokes.push_back({d.centreX, d.centreY, rim.x, rim.y});
        const DotCentre label = polar.at(deg, 1 + 1.6 * em / d.radius);
        d.bearingLabels.push_back({label.x - em, label.y - em / 2, DegText(deg)});
    }

    // In scan order, which turns one way round: a part of the circle across north stays
    // one arc.
    std::vector<DotCentre> points;
    for (const BearingLevel& l : in.levels) {
        const double fraction = std::clamp(1 - (strongest - l.levelDb) / range, 0.0, 1.0);
        points.push_back(polar.at(l.azimuthDeg, fraction));
    }
    d.dots = points;
    const bool full = in.estimate && in.estimate->fullCircle;
    d.trace = Trace(points, full);

    if (in.estimate) {
        const DotCentre rim = polar.at(in.estimate->strongestDeg, 1);
        d.strongest = LineSegment{d.centreX, d.centreY, rim.x, rim.y};
        for (double f = 0; f < 1; f += 0.1) {
            const DotCentre a = polar.at(in.estimate->weakestDeg, f);
            const DotCentre b = polar.at(in.estimate->weakestDeg, f + 0.05);
            d.weakest.push_back({a.x, a.y, b.x, b.y});
        }
        d.summary = BearingSummary(*in.estimate);
    } else {
        d.summary = std::to_string(in.levels.size()) + (in.levels.size() == 1 ? " bearing" : " bearings") +
                    " read" + (in.unit.empty() ? "" : ", levels in " + in.unit);
    }
    return d;
}

void DrawBearingPolar(DiagramCanvas& canvas, const BearingPolarDrawing& d) {
    canvas.ClearCanvas();
    canvas.SetFont(DiagramFontFamily, TitleFontPt);
    canvas.DrawText(EmPixelsForPoints(MainFontPt), EmPixelsForPoints(MainFontPt) / 2, d.title, Black, White);
    canvas.SetFont(DiagramFontFamily, MainFontPt);
    canvas.DrawLines(d.spokes, GreyLevel(0.85));
    canvas.DrawLines(d.rings, GreyLevel(0.7));
    for (const PolarLabel& l : d.ringLabels) canvas.DrawText(l.x, l.y, l.text, GreyLevel(0.4), White);
    for (const PolarLabel& l : d.bearingLabels) canvas.DrawText(l.x, l.y, l.text, Black, White);
    canvas.DrawLines(d.weakest, WeakestColour);
    if (d.strongest)
        DrawArrow(canvas, d.strongest->x1, d.strongest->y1, d.strongest->x2, d.strongest->y2,
                  StrongestColour, 12);
    canvas.DrawLines(d.trace, TraceColour);
    canvas.DrawDots(d.dots, 3, TraceColour);
    canvas.DrawText(EmPixelsForPoints(MainFontPt), d.height - 2 * EmPixelsForPoints(MainFontPt),
                    d.summary, Black, White);
}

}  // namespace fw
