#pragma once
// "24-hour profile": one band's hourly median over the UTC day with the 10 % to 90 % range
// of its readings, the P.372 man-made levels as dashed lines and, where the caller has it,
// the atmospheric noise median of each hour.
#include <array>
#include <optional>

#include "diagram/canvas.h"
#include "diagram/picture.h"
#include "logviews/view_frame.h"
#include "stationlog/view_data.h"

namespace fw {

struct HourlyProfileInputs {
    int width = 800;
    int height = 500;
    HourlyProfile profile;      // QueryHourlyProfile for the same bandwidth
    double bandwidthHz = 2700;  // of the profile and the reference lines
    // The atmospheric model's median noise factor Fa in dB for each UTC hour at the
    // station (NaN where it has none), drawn as field strength in the bandwidth.
    std::optional<std::array<double, 24>> atmosphericFa;
    std::optional<LevelRange> levels;  // fitted to the data when none
    std::string spanText;              // shown under the title, e.g. "2026-03-01 - 2026-03-31"
};

// The view's frame: the noise diagram's, with the plot raised by a line for the legend under
// the hour axis, so that the legend covers no data.
ViewFrame HourlyProfileFrame(int width, int height);

void DrawHourlyProfile(DiagramCanvas& canvas, const HourlyProfileInputs& in);
DiagramPicture RenderHourlyProfile(const HourlyProfileInputs& in);

}  // namespace fw
