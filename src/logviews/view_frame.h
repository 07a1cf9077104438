#pragma once
// What the station-log views share with each other and with the noise diagram's look: the
// plot frame, a level axis with its grid, dashed reference lines, a legend and band colours.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "diagram/canvas.h"
#include "diagram/render.h"
#include "stationlog/log_queries.h"

namespace fw {

// A linear map of a value range onto a pixel range.
class LinearAxis {
  public:
    LinearAxis(double low, double high, int pixelLow, int pixelHigh)
        : low_(low),
          pixelLow_(pixelLow),
          scale_(high > low ? (pixelHigh - pixelLow) / (high - low) : 0.0) {}
    int pixel(double v) const;

  private:
    double low_;
    int pixelLow_;
    double scale_;
};

// The level axis of a view: from `low` to `high` dB(uV/m), both multiples of 10.
struct LevelRange {
    double low = -40;
    double high = 20;
};

// The smallest range of whole 10 dB steps that holds every finite value, the lowest at
// least 1 dB above its foot, at least 20 dB wide; the diagram's start-up range where there
// is none.
LevelRange LevelRangeFor(std::span<const double> values, double footClearanceDb = 1);

// The frame of a view of width x height pixels, as the noise diagram lays out its plot.
struct ViewFrame {
    PlotFrame plot;
    int width = 0;
    int height = 0;
    int top() const { return plot.bottom - plot.plotHeight; }
    int right() const { return plot.left + plot.plotWidth; }
};
ViewFrame MakeViewFrame(int width, int height);

// Clears the canvas, draws the level grid with its labels and unit, both axis arrows and
// the title; returns the level axis.
LinearAxis DrawViewBase(DiagramCanvas& canvas, const ViewFrame& f, const LevelRange& range,
                        std::string_view title, std::string_view unit = UnitLabel);

// A horizontal dashed line across the plot at level pixel y, labelled at its right end.
struct ReferenceLine {
    int y = 0;
    Rgb colour;
    int dash = 8;  // length of dashes and gaps in pixels
    std::string label;
};
// Draws the lines that lie on the level axis; their labels are moved apart where they
// would overlap, keeping their order.
void DrawReferenceLines(DiagramCanvas& canvas, const ViewFrame& f,
                        std::span<const ReferenceLine> lines);

struct LegendRow {
    std::string text;
    Rgb colour;
};
// A boxed legend at the top left of the plot.
void DrawViewLegend(DiagramCanvas& canvas, const ViewFrame& f, std::span<const LegendRow> rows);
// The legend as one line of swatches and texts with its top left corner at (x, y), for a
// place outside the plot.
void DrawLegendLine(DiagramCanvas& canvas, const ViewFrame& f, int x, int y,
                    std::span<const LegendRow> rows);

// The colour of the i-th band of a view; thirteen that are told apart easily.
Rgb BandColour(std::size_t i);

// The man-made levels of Recommendation ITU-R P.372 (city, residential, rural, quiet rural)
// at one frequency, as field strength in dB(uV/m) in a bandwidth.
struct ReferenceLevel {
    std::string_view name;
    double fieldDbuVm;
};
std::vector<ReferenceLevel> ManMadeLevels(double freqMHz, double bandwidthHz);

// The field strength of a noise factor Fa at f MHz in bandwidth B: the reference curves'
// relation E = Fa + 20 log10 f + 10 log10 B - 98.9.
double FieldOfNoiseFactor(double faDb, double freqMHz, double bandwidthHz);

}  // namespace fw
