#include "logviews/neighbour_profile_view.h"

#include <cmath>
#include <vector>

#include "libs/fw_math.h"
#include "logviews/hour_plot.h"

namespace fw {

namespace {

constexpr int LegendLines = 2;
constexpr std::string_view FaUnit = "Fa [dB]";

}  // namespace

ViewFrame NeighbourProfileFrame(int width, int height) {
    return HourPlotFrame(width, height, LegendLines);
}

void DrawNeighbourProfiles(DiagramCanvas& canvas, const NeighbourProfileInputs& in) {
    const ViewFrame f = NeighbourProfileFrame(in.width, in.height);
    std::vector<double> all(in.own.begin(), in.own.end());
    all.insert(all.end(), in.neighbours.begin(), in.neighbours.end());
    const LinearAxis level = DrawViewBase(canvas, f, LevelRangeFor(all), in.title, FaUnit);
    // The hours where the station stands out, under the grid's lines and the curves.
    const LinearAxis hours(0, 24, f.plot.left, f.right());
    for (int h = 0; h < 24; ++h) {
        const double d = in.own[static_cast<std::size_t>(h)] - in.neighbours[static_cast<std::size_t>(h)];
        if (!(std::abs(d) >= in.standOutDb)) continue;
        const int left = hours.pixel(h) + 1;
        canvas.FillBox(left, f.top() + 1, std::max(1, hours.pixel(h + 1) - left),
                       f.plot.bottom - f.top() - 1, StandOutShade);
    }
    DrawHourAxis(canvas, f);
    DrawHourCurve(canvas, hours, level, in.neighbours, f.plot.dotRadius + 1, NeighbourProfileColour);
    DrawHourCurve(canvas, hours, level, in.own, f.plot.dotRadius + 1, OwnProfileColour);
    const int fs = f.plot.mainFontSize;
    int y = FirstLegendLineTop(f);
    for (const auto& [text, colour] : {std::pair{&in.ownText, OwnProfileColour},
                                       std::pair{&in.neighboursText, NeighbourProfileColour}}) {
        canvas.FillBox(f.plot.left, y + 2, fs, fs, colour);
        canvas.DrawText(f.plot.left + RoundPx(1.8 * fs), y, *text, Black, White);
        y += LegendLineHeight(f);
    }
}

}  // namespace fw
