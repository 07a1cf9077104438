#pragma once
// Two 24-hour profiles of one band overlaid, before and after a change: each side's hourly
// medians as a line of its own colour and its 10 % to 90 % ranges as bars beside the other
// side's, the man-made levels as dashed lines, and a legend line per side naming its span.
#include <optional>
#include <string>

#include "diagram/canvas.h"
#include "diagram/picture.h"
#include "logviews/view_frame.h"
#include "stationlog/view_data.h"

namespace fw {

struct ProfileComparisonInputs {
    int width = 800;
    int height = 500;
    HourlyProfile before;  // of the same band and bandwidth
    HourlyProfile after;
    std::string beforeText;  // the legend's texts, e.g. "before 2026-03-01 00:00 to ..."
    std::string afterText;
    double bandwidthHz = 2700;
    std::optional<LevelRange> levels;  // fitted to both sides when none
};

// The medians' colours of the two sides; their bars are lighter tints of them.
inline constexpr Rgb BeforeColour = RgbHex(0x1F4E9C);
inline constexpr Rgb AfterColour = RgbHex(0xC0392B);

// The view's frame: the plot raised by two legend lines.
ViewFrame ProfileComparisonFrame(int width, int height);

void DrawProfileComparison(DiagramCanvas& canvas, const ProfileComparisonInputs& in);

}  // namespace fw
