#include "logviews/hourly_profile_view.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "diagram/raster_canvas.h"
#include "libs/fw_math.h"

namespace fw {

namespace {

constexpr Rgb Black = RgbHex(0x000000);
constexpr Rgb White = RgbHex(0xFFFFFF);
constexpr Rgb RangeColour = RgbHex(0xA6C8E8);
constexpr Rgb MedianColour = RgbHex(0x1F4E9C);
constexpr Rgb AtmosphericColour = RgbHex(0x8B4513);
constexpr std::array<int, 4> DashOf = {12, 8, 5, 2};

std::vector<double> AllLevels(const HourlyProfileInputs& in, double freqMHz) {
    std::vector<double> all;
    for (const HourStats& h : in.profile.hours) {
        if (h.count == 0) continue;
        all.insert(all.end(), {h.p10, h.p90, h.median});
    }
    for (const ReferenceLevel& r : ManMadeLevels(freqMHz, in.bandwidthHz))
        all.push_back(r.fieldDbuVm);
    if (in.atmosphericFa)
        for (double fa : *in.atmosphericFa)
            all.push_back(FieldOfNoiseFactor(fa, freqMHz, in.bandwidthHz));
    return all;
}

void DrawHourAxis(DiagramCanvas& canvas, const ViewFrame& f, const LinearAxis& hours) {
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
}

// Points of one value per hour, drawn at the middle of the hour, joined where neighbours
// both have a value.
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

int LegendLineHeight(const ViewFrame& f) {
    return RoundPx(1.8 * f.plot.mainFontSize);
}

}  // namespace

ViewFrame HourlyProfileFrame(int width, int height) {
    ViewFrame f = MakeViewFrame(width, height);
    const int line = LegendLineHeight(f);
    f.plot.bottom -= line;
    f.plot.plotHeight -= line;
    return f;
}

void DrawHourlyProfile(DiagramCanvas& canvas, const HourlyProfileInputs& in) {
    const ViewFrame f = HourlyProfileFrame(in.width, in.height);
    const double freq = in.profile.band.freqMHz;
    const LevelRange range = in.levels.value_or(LevelRangeFor(AllLevels(in, freq)));
    const LinearAxis level =
        DrawViewBase(canvas, f, range, "24-hour profile " + BandLabel(in.profile.band));
    if (!in.spanText.empty())
        canvas.DrawText(RoundPx(0.7 * in.width), RoundPx(0.02 * in.height), in.spanText, Black,
                        White);
    const LinearAxis hours(0, 24, f.plot.left, f.right());
    DrawHourAxis(canvas, f, hours);

    std::vector<ReferenceLine> references;
    const std::vector<ReferenceLevel> refs = ManMadeLevels(freq, in.bandwidthHz);
    for (std::size_t e = 0; e < refs.size(); ++e)
        references.push_back({level.pixel(refs[e].fieldDbuVm), GreyLevel(0.4),
                              DashOf[e % DashOf.size()], std::string(refs[e].name)});
    DrawReferenceLines(canvas, f, references);

    // The 10 % to 90 % range as a bar over the middle half of each hour.
    const int barHalf = std::max(1, (hours.pixel(1) - hours.pixel(0)) / 4);
    std::array<double, 24> medians{};
    for (int h = 0; h < 24; ++h) {
        const HourStats& s = in.profile.hours[static_cast<std::size_t>(h)];
        medians[static_cast<std::size_t>(h)] = s.count > 0 ? s.median : NAN;
        if (s.count == 0) continue;
        const int top = level.pixel(s.p90), bottom = level.pixel(s.p10);
        canvas.FillBox(hours.pixel(h + 0.5) - barHalf, top, 2 * barHalf,
                       std::max(1, bottom - top + 1), RangeColour);
    }
    std::vector<LegendRow> legend = {{"10 % - 90 % of readings", RangeColour},
                                     {"Median", MedianColour}};
    if (in.atmosphericFa) {
        std::array<double, 24> atmospheric{};
        for (std::size_t h = 0; h < 24; ++h)
            atmospheric[h] = FieldOfNoiseFactor((*in.atmosphericFa)[h], freq, in.bandwidthHz);
        DrawHourCurve(canvas, hours, level, atmospheric, f.plot.dotRadius, AtmosphericColour);
        legend.push_back({"Atmospheric median", AtmosphericColour});
    }
    DrawHourCurve(canvas, hours, level, medians, f.plot.dotRadius + 1, MedianColour);
    // Under the hour labels, one line below the axis title.
    DrawLegendLine(canvas, f, f.plot.left,
                   f.plot.bottom + RoundPx(0.08 * f.plot.plotHeight) + LegendLineHeight(f),
                   legend);
}

DiagramPicture RenderHourlyProfile(const HourlyProfileInputs& in) {
    RasterCanvas canvas(in.width, in.height);
    DrawHourlyProfile(canvas, in);
    return canvas.takePicture();
}

}  // namespace fw
