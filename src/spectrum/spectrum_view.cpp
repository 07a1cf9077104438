#include "spectrum/spectrum_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "libs/number_text.h"
#include "libs/fw_math.h"
#include "rig/reading.h"
#include "signature/signature_text.h"

namespace fw {

namespace {

// The views' first, fourth and third band colours: blue, red and green.
const Rgb TraceColour = BandColour(0);
const Rgb NoiseColour = BandColour(3);
const Rgb UsedColour = BandColour(2);
const Rgb SignatureColour = GreyLevel(0.3);
const Rgb CombColour = BandColour(4);

std::string MHzText(double hz, int decimals, char sep) {
    return FixedText(hz / 1e6, decimals, sep);
}

// A round step of 1, 2 or 5 times a power of ten that gives at most `most` marks over `span`.
double TickStep(double span, int most) {
    const double least = span / std::max(1, most);
    double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (;;) {
        for (double m : {1.0, 2.0, 5.0})
            if (m * decade >= least) return m * decade;
        decade *= 10;
    }
}

std::vector<FrequencyTick> Ticks(double low, double high, const LinearAxis& axis, int most,
                                 char sep) {
    std::vector<FrequencyTick> ticks;
    if (!(high > low)) return ticks;
    const double step = TickStep(high - low, most);
    const int decimals = std::max(0, 6 - static_cast<int>(std::floor(std::log10(step))));
    for (double f = std::ceil(low / step) * step; f <= high; f += step)
        ticks.push_back({axis.pixel(f), MHzText(f, decimals, sep)});
    return ticks;
}

// The smallest distance between neighbouring bins: one bin's width.
double BinWidth(const std::vector<SpectrumBin>& bins) {
    double width = 0;
    for (std::size_t i = 1; i < bins.size(); ++i) {
        const double d = bins[i].freqHz - bins[i - 1].freqHz;
        if (d > 0 && (width == 0 || d < width)) width = d;
    }
    return width;
}

std::vector<LineSegment> Trace(const std::vector<SpectrumBin>& bins, const LinearAxis& freq,
                               const LinearAxis& level) {
    std::vector<LineSegment> trace;
    const double gapHz = 1.5 * BinWidth(bins);
    struct Column {
        int x, first, last, top, bottom;
    };
    std::optional<Column> column;
    double lastHz = 0;
    const auto close = [&] {
        // The end pixel of a line is not drawn: one past the column's lowest point.
        trace.push_back({column->x, column->top, column->x, column->bottom + 1});
    };
    for (const SpectrumBin& b : bins) {
        const int x = freq.pixel(b.freqHz);
        const int y = level.pixel(b.densityDbfsPerHz);
        const bool gap = column && b.freqHz - lastHz > gapHz;
        if (column && x == column->x && !gap) {
            column->last = y;
            column->top = std::min(column->top, y);
            column->bottom = std::max(column->bottom, y);
        } else {
            if (column) {
                close();
                if (!gap) trace.push_back({column->x, column->last, x, y});
            }
            column = Column{x, y, y, y, y};
        }
        lastHz = b.freqHz;
    }
    if (column) close();
    return trace;
}

}  // namespace

SpectrumViewInputs SpectrumViewOf(const receiver::Reading& reading, char sep) {
    const receiver::SdrDetails& r = reading.sdr();
    SpectrumViewInputs in;
    in.title = "Spectrum at " + reading.where.label + ": AntPwr " +
               rig::ExactNumberText(std::round(r.antPowerDbm * 10) / 10, sep) + " dBm";
    in.centreHz = reading.where.frequencyMHz * 1e6;
    in.spanHz = r.floor.fftLength * BinWidth(r.spectrum);
    in.bins = r.spectrum;
    in.noiseDensityDbfsPerHz = r.floor.densityDbfsPerHz;
    std::string summary = sdr::NoiseSummary(r.floor);
    if (sep != '.') std::replace(summary.begin(), summary.end(), '.', sep);
    // "N0 ... dBFS/Hz" in the legend, the figures of the estimate below the axis.
    const std::size_t split = summary.find(", ");
    in.noiseText = summary.substr(0, split);
    if (split != std::string::npos) in.note = summary.substr(split + 2);
    in.sep = sep;
    if (!r.signature) {
        in.signatureText = "No signature: " + r.signature.reason();
        return in;
    }
    const NoiseSignature& sig = r.signature.value();
    in.signatureText = SignatureSummary(sig, sep);
    in.apdText = ApdLine(sig, sep);
    if (sig.comb) in.combLinesHz = sig.comb->lineFreqsHz;
    return in;
}

SpectrumDrawing DescribeSpectrum(const SpectrumViewInputs& in) {
    SpectrumDrawing d;
    d.frame = MakeViewFrame(in.width, in.height);
    d.title = in.title;
    std::vector<double> levels{in.noiseDensityDbfsPerHz};
    for (const SpectrumBin& b : in.bins) levels.push_back(b.densityDbfsPerHz);
    d.levels = LevelRangeFor(levels, 0);  // the floor's line may lie on the axis
    // Room for the legend above the highest bin, more for the signature's rows.
    d.levels.high += in.signatureText.empty() ? 20 : 30;
    const ViewFrame& f = d.frame;
    const LinearAxis level(d.levels.low, d.levels.high, f.plot.bottom, f.top());
    double low = in.centreHz - in.spanHz / 2, high = in.centreHz + in.spanHz / 2;
    if (!in.bins.empty()) {  // a span too small for the bins still shows every one of them
        low = std::min(low, in.bins.front().freqHz);
        high = std::max(high, in.bins.back().freqHz);
    }
    const LinearAxis freq(low, high, f.plot.left, f.right());
    d.trace = Trace(in.bins, freq, level);
    d.noiseY = level.pixel(in.noiseDensityDbfsPerHz);
    d.note = in.note;
    d.ticks = Ticks(low, high, freq, std::max(2, f.plot.plotWidth / (7 * f.plot.mainFontSize)),
                    in.sep);
    d.legend.push_back({"Averaged density", TraceColour});
    d.legend.push_back({in.noiseText.empty() ? std::string("N0") : in.noiseText, NoiseColour});
    if (!in.bins.empty()) {
        d.usedLeft = freq.pixel(in.bins.front().freqHz);
        d.usedRight = freq.pixel(in.bins.back().freqHz);
        d.legend.push_back({"Used span " + MHzText(in.bins.front().freqHz, 4, in.sep) + " - " +
                                MHzText(in.bins.back().freqHz, 4, in.sep) + " MHz",
                            UsedColour});
    }
    if (!in.signatureText.empty()) d.legend.push_back({in.signatureText, SignatureColour});
    if (!in.apdText.empty()) d.legend.push_back({in.apdText, SignatureColour});
    if (!in.combLinesHz.empty()) d.legend.push_back({"Comb lines", CombColour});
    // Each mark stands a little above its line's bin, clear of the trace.
    const int gap = f.plot.mainFontSize / 2;
    for (double hz : in.combLinesHz) {
        const auto bin = std::lower_bound(in.bins.begin(), in.bins.end(), hz,
                                          [](const SpectrumBin& b, double f) { return b.freqHz < f; });
        if (bin == in.bins.end()) continue;
        const int x = freq.pixel(hz);
        const int y = level.pixel(bin->densityDbfsPerHz) - gap;
        d.combMarks.push_back({x, y - 2 * gap, x, y});
    }
    return d;
}

void DrawSpectrum(DiagramCanvas& canvas, const SpectrumDrawing& d) {
    const ViewFrame& f = d.frame;
    // The axis carries the density of every bin; N0 is one level on it.
    const std::string unit = "Density [" + std::string(DensityUnitLabel) + "]";
    DrawViewBase(canvas, f, d.levels, d.title, unit);
    std::vector<LineSegment> grid;
    for (const FrequencyTick& t : d.ticks) {
        grid.push_back({t.x, f.plot.bottom, t.x, f.top()});
        canvas.DrawText(t.x - 2 * f.plot.mainFontSize,
                        f.plot.bottom + RoundPx(0.02 * f.plot.plotHeight), t.text, Black, White);
    }
    canvas.DrawLines(grid, GreyLevel(0.9));
    const int noteY = f.plot.bottom + RoundPx(0.08 * f.plot.plotHeight);
    canvas.DrawText(f.right() - 3 * f.plot.mainFontSize, noteY, "MHz", Black, White);
    if (!d.note.empty()) canvas.DrawText(f.plot.left, noteY, d.note, Black, White);
    if (d.usedRight > d.usedLeft) {
        // The used span: its edges, and a bar along the frequency axis between them.
        const std::vector<LineSegment> edges{{d.usedLeft, f.plot.bottom, d.usedLeft, f.top()},
                                             {d.usedRight, f.plot.bottom, d.usedRight, f.top()}};
        canvas.DrawLines(edges, UsedColour);
        canvas.FillBox(d.usedLeft, f.plot.bottom - 4, d.usedRight - d.usedLeft + 1, 4, UsedColour);
    }
    canvas.SetClip(f.plot.left, f.top(), f.plot.plotWidth + 1, f.plot.plotHeight + 1);
    canvas.DrawLines(d.trace, TraceColour);
    canvas.DrawLines(d.combMarks, CombColour);
    canvas.ResetClip();
    const ReferenceLine noise{d.noiseY, NoiseColour, 8, "N0"};
    DrawReferenceLines(canvas, f, std::span(&noise, 1));
    DrawViewLegend(canvas, f, d.legend);
}

}  // namespace fw
