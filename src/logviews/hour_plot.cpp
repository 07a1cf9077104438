#include "logviews/hour_plot.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "libs/fw_math.h"

namespace fw {

namespace {

// Dash lengths of the four man-made levels, city to quiet rural.
constexpr std::array<int, 4> DashOf = {12, 8, 5, 2};

}  // namespace

int LegendLineHeight(const ViewFrame& f) {
    return RoundPx(1.8 * f.plot.mainFontSize);
}

ViewFrame HourPlotFrame(int width, int height, int legendLines) {
    ViewFrame f = MakeViewFrame(width, height);
    const int raised = legendLines * LegendLineHeight(f);
    f.plot.bottom -= raised;
    f.plot.plotHeight -= raised;
    return f;
}

int FirstLegendLineTop(const ViewFrame& f) {
    return f.plot.bottom + RoundPx(0.08 * f.plot.plotHeight) + LegendLineHeight(f);
}

LinearAxis DrawHourAxis(DiagramCanvas& canvas, const ViewFrame& f) {
    const LinearAxis hours(0, 24, f.plot.left, f.right());
    std::vector<LineSegment> grid;
    for (int h = 0; h <= 24; h += 3) {
        const int x = hours.pixel(h);
        grid.push_back({x, f.plot.bottom, x, f.top()});
        canvas.DrawText(x - f.plot.mainFontSize / 2,
                        f.plot.bottom + RoundPx(0.02 * f.plot.plotHeight), std::to_string(h), Black,
                        White);
    }
    canvas.DrawLines(grid, GreyLevel(0.9));
    canvas.DrawText(f.right() - 8 * f.plot.mainFontSize,
                    f.plot.bottom + RoundPx(0.08 * f.plot.plotHeight), "hour UTC", Black, White);
    return hours;
}

std::vector<double> HourPlotLevels(std::span<const HourlyProfile> profiles, double bandwidthHz) {
    std::vector<double> all;
    for (const HourlyProfile& p : profiles) {
        for (const HourStats& h : p.hours)
            if (h.count > 0) all.insert(all.end(), {h.p10, h.p90, h.median});
    }
    if (!profiles.empty())
        for (const ReferenceLevel& r : ManMadeLevels(profiles.front().band.freqMHz, bandwidthHz))
            all.push_back(r.fieldDbuVm);
    return all;
}

void DrawManMadeLines(DiagramCanvas& canvas, const ViewFrame& f, const LinearAxis& level,
                      double freqMHz, double bandwidthHz) {
    std::vector<ReferenceLine> references;
    const std::vector<ReferenceLevel> refs = ManMadeLevels(freqMHz, bandwidthHz);
    for (std::size_t e = 0; e < refs.size(); ++e)
        references.push_back({level.pixel(refs[e].fieldDbuVm), GreyLevel(0.4),
                              DashOf[e % DashOf.size()], std::string(refs[e].name)});
    DrawReferenceLines(canvas, f, references);
}

void DrawRangeBars(DiagramCanvas& canvas, const LinearAxis& hours, const LinearAxis& level,
                   const HourlyProfile& profile, double offset, double halfWidth, Rgb colour) {
    for (int h = 0; h < 24; ++h) {
        const HourStats& s = profile.hours[static_cast<std::size_t>(h)];
        if (s.count == 0) continue;
        const int left = hours.pixel(h + 0.5 + offset - halfWidth);
        const int width = std::max(1, hours.pixel(h + 0.5 + offset + halfWidth) - left);
        const int top = level.pixel(s.p90), bottom = level.pixel(s.p10);
        canvas.FillBox(left, top, width, std::max(1, bottom - top + 1), colour);
    }
}

std::array<double, 24> HourMedians(const HourlyProfile& profile) {
    std::array<double, 24> medians{};
    for (std::size_t h = 0; h < 24; ++h)
        medians[h] = profile.hours[h].count > 0 ? profile.hours[h].median : NAN;
    return medians;
}

void DrawHourCurve(DiagramCanvas& canvas, const LinearAxis& hours, const LinearAxis& level,
                   const std::array<double, 24>& values, int radius, Rgb colour) {
    std::vector<DotCentre> dots;
    std::vector<LineSegment> joins;
    for (int h = 0; h < 24; ++h) {
        const double v = values[static_cast<std::size_t>(h)];
        if (!std::isfinite(v)) continue;
        dots.push_back({hours.pixel(h + 0.5), level.pixel(v)});
        const double next = h < 23 ? values[static_cast<std::size_t>(h + 1)] : NAN;
        if (std::isfinite(next))
            joins.push_back(
                {hours.pixel(h + 0.5), level.pixel(v), hours.pixel(h + 1.5), level.pixel(next)});
    }
    canvas.DrawLines(joins, colour);
    canvas.DrawDots(dots, radius, colour);
}

}  // namespace fw
