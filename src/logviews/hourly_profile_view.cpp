#include "logviews/hourly_profile_view.h"

#include <cmath>
#include <string>

#include "diagram/raster_canvas.h"
#include "libs/fw_math.h"
#include "logviews/hour_plot.h"

namespace fw {

namespace {

constexpr Rgb RangeColour = RgbHex(0xA6C8E8);
constexpr Rgb MedianColour = RgbHex(0x1F4E9C);
constexpr Rgb AtmosphericColour = RgbHex(0x8B4513);

}  // namespace

ViewFrame HourlyProfileFrame(int width, int height) {
    return HourPlotFrame(width, height, 1);
}

void DrawHourlyProfile(DiagramCanvas& canvas, const HourlyProfileInputs& in) {
    const ViewFrame f = HourlyProfileFrame(in.width, in.height);
    const double freq = in.profile.band.freqMHz;
    std::vector<double> levels = HourPlotLevels(std::span(&in.profile, 1), in.bandwidthHz);
    if (in.atmosphericFa)
        for (double fa : *in.atmosphericFa)
            levels.push_back(FieldOfNoiseFactor(fa, freq, in.bandwidthHz));
    const LevelRange range = in.levels.value_or(LevelRangeFor(levels));
    const LinearAxis level =
        DrawViewBase(canvas, f, range, "24-hour profile " + BandLabel(in.profile.band));
    if (!in.spanText.empty())
        canvas.DrawText(RoundPx(0.7 * in.width), RoundPx(0.02 * in.height), in.spanText, Black,
                        White);
    const LinearAxis hours = DrawHourAxis(canvas, f);
    DrawManMadeLines(canvas, f, level, freq, in.bandwidthHz);
    // The 10 % to 90 % range as a bar over the middle half of each hour.
    DrawRangeBars(canvas, hours, level, in.profile, 0, 0.25, RangeColour);
    std::vector<LegendRow> legend = {{"10 % - 90 % of readings", RangeColour},
                                     {"Median", MedianColour}};
    if (in.atmosphericFa) {
        std::array<double, 24> atmospheric{};
        for (std::size_t h = 0; h < 24; ++h)
            atmospheric[h] = FieldOfNoiseFactor((*in.atmosphericFa)[h], freq, in.bandwidthHz);
        DrawHourCurve(canvas, hours, level, atmospheric, f.plot.dotRadius, AtmosphericColour);
        legend.push_back({"Atmospheric median", AtmosphericColour});
    }
    DrawHourCurve(canvas, hours, level, HourMedians(in.profile), f.plot.dotRadius + 1,
                  MedianColour);
    DrawLegendLine(canvas, f, f.plot.left, FirstLegendLineTop(f), legend);
}

DiagramPicture RenderHourlyProfile(const HourlyProfileInputs& in) {
    RasterCanvas canvas(in.width, in.height);
    DrawHourlyProfile(canvas, in);
    return canvas.takePicture();
}

}  // namespace fw
