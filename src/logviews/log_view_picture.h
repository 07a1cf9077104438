#pragma once
// The station log's two views as pictures on the diagram canvas, from a request the view
// window fills in.
#include <array>
#include <optional>
#include <string>
#include <string_view>
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

// The view at its logical size, which is saved, copied and printed, and at `ratio` times
// it for a screen of that device pixel ratio (the same picture where the ratio is 1).
struct LogViewPictures {
    DiagramPicture logical;
    DiagramPicture shown;
};

// Reads the view from the log once and draws it. The profile carries the atmospheric median
// of each UTC hour at the log's locator in the month of the span's middle, where the model
// has it. Throws LogError when the log cannot be read.
LogViewPictures RenderLogView(StationLog& log, const LogViewRequest& request,
                              const ItuCoefficientCache& coefficients, double ratio = 1.0);

// One band's 24-hour profiles before and after a change, overlaid in one view.
struct ProfileComparisonRequest {
    LogBand band;
    LogSpan before;  // both ends given
    LogSpan after;
    double bandwidthHz = StartBandwidthHz;  // levels are shown for this bandwidth
    int width = 800;
    int height = 500;
};

// Reads both sides' profiles from the log and draws them at `ratio` times the logical size,
// the legend naming each side's span. Throws LogError when the log cannot be read.
DiagramPicture RenderProfileComparison(StationLog& log, const ProfileComparisonRequest& request,
                                       double ratio);

// The atmospheric model's median Fa in dB for each UTC hour at the centre of the locator's
// square, in `month` (1..12) at `freqMHz`; none where the locator does not parse, the
// frequency lies outside the model's range, the month's coefficients cannot be read or give
// implausible figures.
std::optional<std::array<double, 24>> AtmosphericFaByHour(std::string_view locator, int month,
                                                          double freqMHz,
                                                          const ItuCoefficientCache& coefficients);

}  // namespace fw
