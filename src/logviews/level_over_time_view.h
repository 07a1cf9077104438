#pragma once
// "Level over time": the field strength of the chosen bands over a span, one colour per
// band, with the P.372 man-made levels of each band as dashed horizontal lines.
#include <optional>
#include <vector>

#include "diagram/canvas.h"
#include "diagram/picture.h"
#include "logviews/view_frame.h"
#include "stationlog/view_data.h"

namespace fw {

struct LevelOverTimeInputs {
    int width = 800;
    int height = 500;
    std::vector<LevelSeries> series;  // QueryLevelSeries for the same bandwidth
    UtcSeconds from = 0;              // the time axis
    UtcSeconds to = 0;
    double bandwidthHz = 2700;         // of the series and the reference lines
    std::optional<LevelRange> levels;  // the level axis; fitted to the data when none
};

// A time-axis mark: its time and text (UTC).
struct TimeTick {
    UtcSeconds utc;
    std::string text;
};
// Marks at a round step (an hour up to a month) that gives at most `most` of them within
// [from, to]: "HH:MM" for steps under a day (with "MM-DD" where the day changes), "MM-DD"
// for day steps, "YYYY-MM" for month steps.
std::vector<TimeTick> TimeTicks(UtcSeconds from, UtcSeconds to, int most);

void DrawLevelOverTime(DiagramCanvas& canvas, const LevelOverTimeInputs& in);
DiagramPicture RenderLevelOverTime(const LevelOverTimeInputs& in);

}  // namespace fw
