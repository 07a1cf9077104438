#include "logviews/profile_comparison_view.h"

#include <array>
#include <vector>

#include "libs/fw_math.h"
#include "logviews/hour_plot.h"

namespace fw {

namespace {

constexpr Rgb BeforeRangeColour = RgbHex(0xA6C8E8);
constexpr Rgb AfterRangeColour = RgbHex(0xF2B8B0);
constexpr int LegendLines = 2;

struct LegendSide {
    const std::string& text;
    Rgb median;
    Rgb range;
};

}  // namespace

ViewFrame ProfileComparisonFrame(int width, int height) {
    return HourPlotFrame(width, height, LegendLines);
}

void DrawProfileComparison(DiagramCanvas& canvas, const ProfileComparisonInputs& in) {
    const ViewFrame f = ProfileComparisonFrame(in.width, in.height);
    const std::array<HourlyProfile, 2> sides = {in.before, in.after};
    const LevelRange range =
        in.levels.value_or(LevelRangeFor(HourPlotLevels(sides, in.bandwidthHz)));
    const LinearAxis level = DrawViewBase(
        canvas, f, range, "24-hour profile " + BandLabel(in.before.band) + ", before and after");
    const LinearAxis hours = DrawHourAxis(canvas, f);
    DrawManMadeLines(canvas, f, level, in.before.band.freqMHz, in.bandwidthHz);
    // The sides' bars share each hour's middle half, before on the left, after on the right.
    DrawRangeBars(canvas, hours, level, in.before, -0.125, 0.125, BeforeRangeColour);
    DrawRangeBars(canvas, hours, level, in.after, 0.125, 0.125, AfterRangeColour);
    DrawHourCurve(canvas, hours, level, HourMedians(in.before), f.plot.dotRadius + 1, BeforeColour);
    DrawHourCurve(canvas, hours, level, HourMedians(in.after), f.plot.dotRadius + 1, AfterColour);
    // One line per side: the median's swatch, the bars' swatch and the side's span.
    const int fs = f.plot.mainFontSize;
    const int step = RoundPx(1.8 * fs);
    const std::array<LegendSide, 2> legend = {{{in.beforeText, BeforeColour, BeforeRangeColour},
                                               {in.afterText, AfterColour, AfterRangeColour}}};
    int y = FirstLegendLineTop(f);
    for (const LegendSide& side : legend) {
        canvas.FillBox(f.plot.left, y + 2, fs, fs, side.median);
        canvas.FillBox(f.plot.left + step, y + 2, fs / 2, fs, side.range);
        canvas.DrawText(f.plot.left + 2 * step, y, side.text + ": median, 10 % - 90 %", Black,
                        White);
        y += LegendLineHeight(f);
    }
}

}  // namespace fw
