#pragma once
// What the views over the UTC day share: the frame with legend lines under the hour axis, the
// hour axis, the man-made levels as dashed lines, the 10 % to 90 % bars and a curve of one
// value per hour.
#include <array>
#include <span>
#include <vector>

#include "diagram/canvas.h"
#include "logviews/view_frame.h"
#include "stationlog/view_data.h"

namespace fw {

// The view's frame with the plot raised by `legendLines` lines for a legend under the hour
// axis, so that the legend covers no data.
ViewFrame HourPlotFrame(int width, int height, int legendLines);
// The height of one legend line and the top of the first, under the hour labels and the
// axis title.
int LegendLineHeight(const ViewFrame& f);
int FirstLegendLineTop(const ViewFrame& f);

// The hour grid every three hours with its labels and the axis title; returns the hour axis.
LinearAxis DrawHourAxis(DiagramCanvas& canvas, const ViewFrame& f);

// Every finite level of the profiles' bars and medians and of the man-made levels at the
// band's frequency, for fitting the level axis.
std::vector<double> HourPlotLevels(std::span<const HourlyProfile> profiles, double bandwidthHz);

// The man-made levels at the frequency as dashed grey lines, labelled at the right.
void DrawManMadeLines(DiagramCanvas& canvas, const ViewFrame& f, const LinearAxis& level,
                      double freqMHz, double bandwidthHz);

// The hours' 10 % to 90 % ranges as bars; `offset` and `halfWidth` are fractions of an hour:
// each bar spans the hour's middle + offset - halfWidth to + halfWidth.
void DrawRangeBars(DiagramCanvas& canvas, const LinearAxis& hours, const LinearAxis& level,
                   const HourlyProfile& profile, double offset, double halfWidth, Rgb colour);

// The hours' medians, NaN where an hour has no reading.
std::array<double, 24> HourMedians(const HourlyProfile& profile);

// Points of one value per hour, drawn at the middle of the hour, joined where neighbours
// both have a value.
void DrawHourCurve(DiagramCanvas& canvas, const LinearAxis& hours, const LinearAxis& level,
                   const std::array<double, 24>& values, int radius, Rgb colour);

}  // namespace fw
