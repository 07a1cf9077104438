#include "signature/comb_lines.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

constexpr double LineAboveDb = 10.0;
// The strongest lines that are searched for a comb; more would only cost time.
constexpr std::size_t MaxLines = 400;
// Spacings are taken between each line and this many lines above it.
constexpr std::size_t SpacingNeighbours = 4;

struct Line {
    double freqHz;
    double densityDb;
};

// The peak of each run of neighbouring bins above the threshold, in frequency order.
std::vector<Line> PeakLines(const std::vector<SpectrumBin>& spectrum, double thresholdDb,
                            double binWidthHz) {
    std::vector<Line> lines;
    bool inRun = false;
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        const SpectrumBin& b = spectrum[i];
        const bool adjacent = i > 0 && b.freqHz - spectrum[i - 1].freqHz < 1.5 * binWidthHz;
        if (b.densityDbfsPerHz <= thresholdDb) {
            inRun = false;
            continue;
        }
        if (inRun && adjacent) {
            if (b.densityDbfsPerHz > lines.back().densityDb) lines.back() = {b.freqHz, b.densityDbfsPerHz};
            continue;
        }
        lines.push_back({b.freqHz, b.densityDbfsPerHz});
        inRun = true;
    }
    if (lines.size() > MaxLines) {
        std::nth_element(lines.begin(), lines.begin() + MaxLines, lines.end(),
                         [](const Line& a, const Line& b) { return a.densityDb > b.densityDb; });
        lines.resize(MaxLines);
        std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.freqHz < b.freqHz; });
    }
    return lines;
}

class CombSearch {
  public:
    CombSearch(std::vector<double> freqs, double binWidthHz, double centreHz, double gapHalfWidthHz,
               double topHz)
        : freqs_(std::move(freqs)), tolerance_(binWidthHz * (1 + 1e-9)), centre_(centreHz),
          gapHalfWidth_(gapHalfWidthHz), top_(topHz) {}

    // The run of lines `spacing` apart that starts at line `start`.
    NoiseComb runFrom(std::size_t start, double spacing) const {
        NoiseComb comb;
        comb.lineFreqsHz.push_back(freqs_[start]);
        double position = freqs_[start];
        int steps = 0;
        int stepsToLast = 0;
        for (;;) {
            const double expected = position + spacing;
            if (expected > top_ + tolerance_) break;
            ++steps;
            if (const auto found = lineNear(expected)) {
                position = *found;
                comb.lineFreqsHz.push_back(position);
                stepsToLast = steps;
                continue;
            }
            // The used bins leave a gap around the centre: a line there cannot be seen.
            if (std::abs(expected - centre_) > gapHalfWidth_) break;
            position = expected;
        }
        comb.lines = static_cast<int>(comb.lineFreqsHz.size());
        if (stepsToLast > 0) comb.spacingHz = (comb.lineFreqsHz.back() - comb.lineFreqsHz.front()) / stepsToLast;
        return comb;
    }

    bool hasLineNear(double f) const { return lineNear(f).has_value(); }

  private:
    std::optional<double> lineNear(double f) const {
        const auto it = std::lower_bound(freqs_.begin(), freqs_.end(), f - tolerance_);
        if (it == freqs_.end() || *it > f + tolerance_) return std::nullopt;
        return *it;
    }

    std::vector<double> freqs_;
    double tolerance_, centre_, gapHalfWidth_, top_;
};

}  // namespace

std::optional<NoiseComb> FindComb(const std::vector<SpectrumBin>& spectrum, double n0DbfsPerHz,
                                  double binWidthHz, double centreHz) {
    if (spectrum.empty() || !(binWidthHz > 0)) return std::nullopt;
    const std::vector<Line> lines = PeakLines(spectrum, n0DbfsPerHz + LineAboveDb, binWidthHz);
    if (lines.size() < static_cast<std::size_t>(MinCombLines)) return std::nullopt;
    std::vector<double> freqs;
    for (const Line& l : lines) freqs.push_back(l.freqHz);

    // The widest step between neighbouring used bins is the gap around the centre.
    double gap = 0;
    for (std::size_t i = 1; i < spectrum.size(); ++i)
        gap = std::max(gap, spectrum[i].freqHz - spectrum[i - 1].freqHz);
    const CombSearch search(freqs, binWidthHz, centreHz, gap / 2, spectrum.back().freqHz);

    std::vector<double> spacings;
    for (std::size_t i = 0; i < freqs.size(); ++i)
        for (std::size_t j = i + 1; j < std::min(freqs.size(), i + 1 + SpacingNeighbours); ++j)
            if (freqs[j] - freqs[i] >= 2 * binWidthHz) spacings.push_back(freqs[j] - freqs[i]);
    std::sort(spacings.begin(), spacings.end());
    // Each spacing is tried once; near ones are all tried, as either may be the comb's.
    spacings.erase(std::unique(spacings.begin(), spacings.end(),
                               [&](double a, double b) { return b - a <= 1e-6 * binWidthHz; }),
                   spacings.end());

    std::optional<NoiseComb> best;
    for (double spacing : spacings) {
        for (std::size_t start = 0; start < freqs.size(); ++start) {
            // A run is counted once, from its lowest line.
            if (search.hasLineNear(freqs[start] - spacing)) continue;
            NoiseComb run = search.runFrom(start, spacing);
            if (run.lines < MinCombLines) continue;
            if (!best || run.lines > best->lines) best = std::move(run);
        }
    }
    return best;
}

}  // namespace fw
