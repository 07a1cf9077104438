#include "diagram/render.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "libs/number_text.h"
#include "diagram/scaled_canvas.h"
#include "libs/fw_math.h"
#include "model/noise_total.h"

namespace fw {

namespace {

constexpr double PlotFraction = 0.75;
constexpr double DesignWidth = 537.0;

constexpr Rgb BandLabelColour = RgbHex(0x800000);
constexpr std::array<Rgb, NoiseEnvCount> CurveColours = {
    RgbHex(0xFF0000), RgbHex(0xFBBE31), RgbHex(0x008000), RgbHex(0x0000FF), RgbHex(0xC80FED)};
constexpr Rgb AtmosphericColour = RgbHex(0x008B8B);
constexpr std::string_view AtmosphericLegendRow = "Atmospheric";

// Decile curves in the median's colour halfway to white.
constexpr Rgb Lighter(Rgb c) {
    return Rgb{static_cast<std::uint8_t>(c.r + (255 - c.r) / 2),
               static_cast<std::uint8_t>(c.g + (255 - c.g) / 2),
               static_cast<std::uint8_t>(c.b + (255 - c.b) / 2)};
}

struct Marker {
    const char* label;
    double hz;
};

constexpr std::array<Marker, 13> BandMarkers = {{{"LW", 136'000},
                                                 {"MW", 475'000},
                                                 {"160", 1'920'000},
                                                 {"80", 3'650'000},
                                                 {"40", 7'100'000},
                                                 {"30", 10'125'000},
                                                 {"20", 14'175'000},
                                                 {"17", 18'118'000},
                                                 {"15", 21'225'000},
                                                 {"12", 24'940'000},
                                                 {"10", 28'850'000},
                                                 {" 6", 51'000'000},
                                                 {" 2", 145'000'000}}};

constexpr std::array<Marker, 6> FrequencyLabels = {{{"100 kHz", 1e5},
                                                    {"1 MHz", 1e6},
                                                    {"10 MHz", 1e7},
                                                    {"30 MHz", 3e7},
                                                    {"100 MHz", 1e8},
                                                    {"300 MHz", 3e8}}};

// 1..9 x 10^5, 10^6, 10^7, then 1, 2, 3 x 10^8.
std::vector<double> DecadeLines() {
    std::vector<double> lines;
    for (double decade : {1e5, 1e6, 1e7})
        for (int k = 1; k <= 9; ++k) lines.push_back(k * decade);
    for (int k = 1; k <= 3; ++k) lines.push_back(k * 1e8);
    return lines;
}

// Pixel mapping of the two axes for one rendering.
class AxisMap {
  public:
    AxisMap(const PlotFrame& f, int yPos, int yWidth)
        : f_(f),
          log10Low_(SafeLog10(FreqGridLowHz)),
          xScale_(f.plotWidth / (SafeLog10(FreqGridHighHz) - SafeLog10(FreqGridLowHz))),
          bottom_(yPos),
          yScale_(f.plotHeight / (static_cast<double>(yPos + yWidth) - yPos)) {}

    int x(double hz) const { return xOfLog10(SafeLog10(hz)); }
    int xOfLog10(double log10Hz) const {
        return f_.left + RoundPx((log10Hz - log10Low_) * xScale_);
    }
    int y(double level) const { return f_.bottom - RoundPx(yScale_ * (level - bottom_)); }

  private:
    PlotFrame f_;
    double log10Low_;
    double xScale_;
    double bottom_;
    double yScale_;
};

// v rounded to three significant digits, fixed-point without decimals ("-40", "0", "20").
std::string LevelLabel(double v) {
    double rounded = v;
    if (v != 0.0) {
        const double magnitude = std::floor(std::log10(std::abs(v))) + 1.0;
        const double factor = std::pow(10.0, 3.0 - magnitude);
        rounded = std::nearbyint(v * factor) / factor;
    }
    return FixedText(rounded, 0);
}

// The legend box; with the atmospheric layer it has a row for it before "USER" and the
// layer's legend line (place, month, UTC hour) below the box.
void DrawLegend(DiagramCanvas& canvas, const PlotFrame& f, int width, int height,
                const AtmosphericLayer* atmospheric) {
    struct Row {
        std::string_view text;
        Rgb colour;
    };
    std::vector<Row> rows;
    for (int e = 0; e < NoiseEnvCount; ++e) rows.push_back({NoiseEnvs[e].legend, CurveColours[e]});
    if (atmospheric) rows.push_back({AtmosphericLegendRow, AtmosphericColour});
    rows.push_back({"USER", Black});

    const int fs = f.mainFontSize;
    const int rp = RoundPx(1.8 * fs);
    const int lx = RoundPx(width / 6.0);
    const int ly = RoundPx(0.59 * height);
    const int count = static_cast<int>(rows.size());
    std::size_t longest = 0;
    for (const Row& r : rows) longest = std::max(longest, r.text.size());
    canvas.DrawBox(lx, ly, fs * static_cast<int>(longest) + 10, count * rp + 4, White, Black);
    for (int k = 0; k < count; ++k) {
        canvas.FillBox(lx + 2, ly + 4 + k * rp, fs, fs, rows[k].colour);
        canvas.DrawText(lx + rp, ly + 2 + k * rp, rows[k].text, Black, White);
    }
    if (atmospheric) canvas.DrawText(lx, ly + count * rp + 6, atmospheric->legend, Black, White);
}

// Decile curves are thin lines: one pixel at the design size, thicker on larger pictures
// but always thinner than the median's dots.
int DecileThickness(int dotRadius) {
    return std::max(1, dotRadius / 2);
}

// Appends the segment from (x1, y1) to (x2, y2) as `thickness` parallel lines, one pixel
// apart in height around it.
void AppendThickSegment(std::vector<LineSegment>& out, int x1, int y1, int x2, int y2,
                        int thickness) {
    for (int k = -(thickness - 1) / 2; k <= thickness / 2; ++k)
        out.push_back({x1, y1 + k, x2, y2 + k});
}

// Upper and lower deciles of the four man-made curves and of galactic noise (where it has a
// value), each in its curve's lighter colour. The reference curves are straight in log f, and
// so are their deciles: each is one line from its first to its last grid point.
void DrawDecileBands(DiagramCanvas& canvas, const AxisMap& map, const ReferenceCurves& rc,
                     std::span<const int> xs, int thickness) {
    std::vector<LineSegment> lines;
    for (int e = 0; e < NoiseEnvCount; ++e) {
        const NoiseDeciles deciles = DecilesOf(NoiseEnvs[e].id);
        const std::vector<double>& fa = rc.refFa[e];
        const std::vector<double>& field = rc.refField[e];
        const std::size_t n = std::min({xs.size(), fa.size(), field.size()});
        std::size_t first = 0;
        while (first < n && fa[first] == UnknownLevel) ++first;
        if (n - first < 2) continue;
        const std::size_t last = n - 1;
        lines.clear();
        for (double offset : {deciles.upper, -deciles.lower})
            AppendThickSegment(lines, xs[first], map.y(field[first] + offset), xs[last],
                               map.y(field[last] + offset), thickness);
        canvas.DrawLines(lines, Lighter(CurveColours[e]));
    }
}

// The pixel columns of the layer's frequencies, and for each the decibels that turn a noise
// figure into the field strength in the bandwidth.
struct AtmosphericColumns {
    std::vector<int> xs;
    std::vector<double> figureToField;
};

AtmosphericColumns MakeAtmosphericColumns(const AxisMap& map, const AtmosphericLayer& layer,
                                          double bandwidthTerm) {
    AtmosphericColumns columns;
    const std::size_t n = layer.log10Hz.size();
    columns.xs.resize(n);
    columns.figureToField.resize(n);
    for (std::size_t d = 0; d < n; ++d) {
        columns.xs[d] = map.xOfLog10(layer.log10Hz[d]);
        columns.figureToField[d] = FieldOfNoiseFigure(0.0, layer.log10Hz[d], bandwidthTerm);
    }
    return columns;
}

// The dots of the atmospheric median, each pixel position once in a row.
std::vector<DotCentre> AtmosphericDots(const AxisMap& map, const AtmosphericColumns& columns,
                                       const std::vector<double>& fa) {
    const std::size_t n = std::min(columns.xs.size(), fa.size());
    std::vector<DotCentre> dots;
    dots.reserve(n);
    for (std::size_t d = 0; d < n; ++d) {
        const DotCentre c{columns.xs[d], map.y(fa[d] + columns.figureToField[d])};
        if (!dots.empty() && dots.back().x == c.x && dots.back().y == c.y) continue;
        dots.push_back(c);
    }
    return dots;
}

// A decile of the atmospheric noise as a thin line through one point per pixel column.
void AppendAtmosphericLine(std::vector<LineSegment>& lines, const AxisMap& map,
                           const AtmosphericColumns& columns, const std::vector<double>& fa,
                           int thickness) {
    const std::size_t n = std::min(columns.xs.size(), fa.size());
    bool started = false;
    DotCentre previous;
    for (std::size_t d = 0; d < n; ++d) {
        if (started && columns.xs[d] == previous.x) continue;
        const DotCentre c{columns.xs[d], map.y(fa[d] + columns.figureToField[d])};
        if (started) AppendThickSegment(lines, previous.x, previous.y, c.x, c.y, thickness);
        previous = c;
        started = true;
    }
}

// The atmospheric decile band as thin lines in the lighter colour.
void DrawAtmosphericBand(DiagramCanvas& canvas, const AxisMap& map,
                         const AtmosphericColumns& columns, const AtmosphericLayer& layer,
                         int thickness) {
    std::vector<LineSegment> lines;
    for (const std::vector<double>* decile : {&layer.faUpper, &layer.faLower})
        AppendAtmosphericLine(lines, map, columns, *decile, thickness);
    canvas.DrawLines(lines, Lighter(AtmosphericColour));
}

// Each reading above or below the level axis (rows top to bottom) as a triangle with its tip
// on the plot's edge row, pointing out of the plot, as high as a reading's dot is wide.
void DrawOffAxisMarkers(DiagramCanvas& canvas, std::span<const DotCentre> readings, int top,
                        int bottom, int dotRadius, Rgb colour) {
    const int height = 2 * (dotRadius + 1);
    for (const DotCentre& c : readings) {
        if (c.y < top) canvas.FillTriangle(c.x, top, height, true, colour);
        if (c.y > bottom) canvas.FillTriangle(c.x, bottom, height, false, colour);
    }
}

}  // namespace

PlotFrame makePlotFrame(int width, int height) {
    PlotFrame f;
    f.plotWidth = RoundPx(width * PlotFraction);
    f.plotHeight = RoundPx(height * PlotFraction);
    f.left = RoundPx(width * (1 - PlotFraction) / 2);
    f.bottom = RoundPx(height * (1 - (1 - PlotFraction) / 2));
    f.dotRadius = RoundPx(2 * width / DesignWidth);
    f.mainFontSize = RoundPx(8 * width / DesignWidth);
    f.bandFontSize = RoundPx(4 * width / DesignWidth);
    f.titleFontSize = RoundPx(15 * width / DesignWidth);
    return f;
}

std::vector<double> LevelSteps(double start, double stop, double step) {
    std::vector<double> values;
    if (!(step > 0)) return values;
    double s = start;
    if (std::abs(start) < step) {
        values.push_back(start);
        s = step;
    }
    for (; s <= stop; s += step) values.push_back(s);
    return values;
}

void drawDiagram(DiagramCanvas& canvas, const DiagramInputs& in) {
    const int W = in.width, H = in.height;
    const PlotFrame f = makePlotFrame(W, H);
    const AxisMap map(f, in.yPos, in.yWidth);
    const int top = f.bottom - f.plotHeight;

    canvas.ClearCanvas();
    canvas.SetFont(DiagramFontFamily, f.mainFontSize);

    std::vector<LineSegment> lines;
    for (double hz : DecadeLines()) lines.push_back({map.x(hz), f.bottom, map.x(hz), top});
    canvas.DrawLines(lines, GreyLevel(0.9));
    lines.clear();
    for (const Marker& m : BandMarkers) lines.push_back({map.x(m.hz), f.bottom, map.x(m.hz), top});
    canvas.DrawLines(lines, GreyLevel(0.7));
    for (const Marker& m : FrequencyLabels)
        canvas.DrawText(map.x(m.hz) - RoundPx(0.02 * f.plotWidth),
                        f.bottom + RoundPx(0.035 * f.plotHeight), m.label, Black, White);

    canvas.SetFont(DiagramFontFamily, f.bandFontSize);
    for (const Marker& m : BandMarkers)
        canvas.DrawText(map.x(m.hz) - RoundPx(0.01 * f.plotWidth),
                        f.bottom + RoundPx(0.005 * f.plotHeight), m.label, BandLabelColour, White);
    canvas.SetFont(DiagramFontFamily, f.mainFontSize);

    const double step = in.yWidth > 20 ? 10.0 : 1.0;
    const double levelTop = static_cast<double>(in.yPos) + in.yWidth;
    for (double v : LevelSteps(in.yPos, levelTop, step / 2))
        canvas.DrawLine(f.left, map.y(v), W - f.left, map.y(v), GreyLevel(0.9));
    const std::vector<double> major = LevelSteps(in.yPos, levelTop, step);
    for (double v : major) canvas.DrawLine(f.left, map.y(v), W - f.left, map.y(v), GreyLevel(0.7));
    for (double v : major)
        canvas.DrawText(f.left - RoundPx(0.06 * f.plotWidth),
                        map.y(v) - RoundPx(0.02 * f.plotHeight), LevelLabel(v), Black, White);

    DrawArrow(canvas, f.left, f.bottom, f.left + RoundPx(1.05 * f.plotWidth), f.bottom, Black, 10);
    DrawArrow(canvas, f.left, f.bottom, f.left, f.bottom - RoundPx(1.05 * f.plotHeight), Black, 10);

    // Curves, layers and readings stay within the plot, where a dot centred in it is drawn
    // whole; a reading off the level axis is shown at its edge.
    const int margin = f.dotRadius + 1;
    canvas.SetClip(f.left - margin, top - margin, f.plotWidth + 1 + 2 * margin,
                   f.plotHeight + 1 + 2 * margin);

    // The layers' bands lie under every median curve.
    const double bandwidthTerm =
        in.curves ? 10.0 * SafeLog10(static_cast<double>(in.curves->bandwidthHz)) : 0.0;
    AtmosphericColumns atmospheric;
    if (in.atmospheric) {
        atmospheric = MakeAtmosphericColumns(map, *in.atmospheric, bandwidthTerm);
        DrawAtmosphericBand(canvas, map, atmospheric, *in.atmospheric,
                            DecileThickness(f.dotRadius));
    }

    std::vector<DotCentre> centres;
    if (in.curves) {
        const ReferenceCurves& rc = *in.curves;
        // The x of each grid point serves all five curves.
        std::vector<int> xs(rc.freqGrid.size());
        const bool haveLogs = rc.log10Freq.size() == xs.size();
        for (std::size_t d = 0; d < xs.size(); ++d)
            xs[d] = haveLogs ? map.xOfLog10(rc.log10Freq[d]) : map.x(rc.freqGrid[d]);
        if (in.deciles) DrawDecileBands(canvas, map, rc, xs, DecileThickness(f.dotRadius));
        for (int e = 0; e < NoiseEnvCount; ++e) {
            const std::vector<double>& field = rc.refField[e];
            const std::size_t n = std::min(xs.size(), field.size());
            centres.resize(n);
            for (std::size_t d = 0; d < n; ++d) centres[d] = {xs[d], map.y(field[d])};
            canvas.DrawDots(centres, f.dotRadius, CurveColours[e]);
        }
    }
    if (in.atmospheric)  // the sixth curve
        canvas.DrawDots(AtmosphericDots(map, atmospheric, in.atmospheric->fa), f.dotRadius,
                        AtmosphericColour);

    const MeasDots& m = in.measurements;
    const std::size_t rows =
        std::min({m.freqMHz.size(), m.fieldDbuVm.size(), m.bandwidthHz.size()});
    const double bandwidthNow = in.curves ? in.curves->bandwidthHz : 0.0;
    centres.resize(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        double v = m.fieldDbuVm[i];
        // A stored bandwidth of 0 would divide by zero: such a measurement is drawn uncorrected.
        if (in.bandwidthCorrection && m.bandwidthHz[i] != 0.0)
            v += BandwidthCorrectionDb(bandwidthNow, m.bandwidthHz[i]);
        centres[i] = {map.x(m.freqMHz[i] * 1'000'000.0), map.y(v)};
    }
    canvas.DrawDots(centres, f.dotRadius + 1, Black);
    DrawOffAxisMarkers(canvas, centres, top, f.bottom, f.dotRadius, Black);
    canvas.ResetClip();

    DrawLegend(canvas, f, W, H, in.atmospheric);

    canvas.SetFont(DiagramFontFamily, f.mainFontSize);
    canvas.DrawTextUp(f.left - RoundPx(0.13 * f.plotWidth), f.bottom - RoundPx(0.9 * f.plotHeight),
                      UnitLabel, Black, White);
    canvas.DrawText(RoundPx(0.7 * W), RoundPx(0.02 * H), in.locator + " " + in.measDateTime, Black,
                    White);
    canvas.SetFont(DiagramFontFamily, f.titleFontSize);
    canvas.DrawText(RoundPx(0.2 * W), RoundPx(0.06 * H), DiagramTitle, Black, White);
}

DiagramPicture renderDiagram(const DiagramInputs& in) {
    return renderDiagramAt(in, 1.0);
}

DiagramPicture renderDiagramAt(const DiagramInputs& in, double ratio) {
    return DrawAtRatio(in.width, in.height, ratio,
                       [&in](DiagramCanvas& canvas) { drawDiagram(canvas, in); });
}

}  // namespace fw
