#pragma once
// The station log's two views as pictures on the diagram canvas, from a request the view
// window fills in. No widgets.
#include <string>
#include <vector>

#include "diagram/picture.h"
#include "libs/startup_values.h"
#include "measure/itu_coefficient_cache.h"
#include "stationlog/log_queries.h"

namespace fw {

enum class LogViewKind { LevelOverTime, HourlyProfile };

struct LogViewRequest {
    LogViewKind kind = LogViewKind::LevelOverTime;
    std::vector<LogBand> bands;  // the profile draws the first
    UtcSeconds from = 0;         // the span [from, to)
    UtcSeconds to = 0;
    double bandwidthHz = StartBandwidthHz;  // levels are shown for this bandwidth
    int width = 800;
    int height = 500;
};

// Draws the view. The profile carries the atmospheric median of each UTC hour at the log's
// locator in the month of the span's middle, where the model has it. Throws LogError when
// the log cannot be read.
DiagramPicture RenderLogView(StationLog& log, const LogViewRequest& request,
                             ItuCoefficientCache& coefficients);

}  // namespace fw
