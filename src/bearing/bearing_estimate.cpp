#include "bearing/bearing_estimate.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "libs/median.h"

namespace fw {

namespace {

constexpr double HalfPowerDb = 3.0103;

double Wrap(double deg) {
    const double w = std::fmod(deg, 360.0);
    return w < 0 ? w + 360.0 : w;
}

double Radians(double deg) { return deg * std::numbers::pi / 180.0; }

// The vertex offset (in steps, -0.5..0.5) of the parabola through three levels.
double ParabolaOffset(double before, double at, double after) {
    const double curve = before - 2 * at + after;
    if (curve == 0) return 0;
    return std::clamp(0.5 * (before - after) / curve, -0.5, 0.5);
}

// The bearings sorted by azimuth (0..360) and whether they go round the whole circle: no gap
// between neighbours wider than one and a half times the usual step.
struct Circle {
    std::vector<BearingLevel> sorted;
    double stepDeg = 0;
    bool full = false;
};

Circle Arrange(const std::vector<BearingLevel>& levels) {
    Circle c;
    c.sorted = levels;
    for (BearingLevel& b : c.sorted) b.azimuthDeg = Wrap(b.azimuthDeg);
    std::sort(c.sorted.begin(), c.sorted.end(),
              [](const BearingLevel& a, const BearingLevel& b) { return a.azimuthDeg < b.azimuthDeg; });
    std::vector<double> gaps;
    for (std::size_t i = 0; i < c.sorted.size(); ++i) {
        const double next = i + 1 < c.sorted.size() ? c.sorted[i + 1].azimuthDeg : c.sorted[0].azimuthDeg + 360;
        gaps.push_back(next - c.sorted[i].azimuthDeg);
    }
    std::vector<double> ordered = gaps;
    c.stepDeg = Median(ordered);
    c.full = *std::max_element(gaps.begin(), gaps.end()) <= 1.5 * c.stepDeg;
    if (!c.full) {
        // A part of the circle starts after its widest gap.
        const auto widest = std::max_element(gaps.begin(), gaps.end()) - gaps.begin();
        std::rotate(c.sorted.begin(), c.sorted.begin() + widest + 1, c.sorted.end());
    }
    return c;
}

// The level at index i, wrapping round on a full circle; none past an end of a part.
std::optional<double> LevelAt(const Circle& c, long i) {
    const long n = static_cast<long>(c.sorted.size());
    if (c.full) return c.sorted[static_cast<std::size_t>(((i % n) + n) % n)].levelDb;
    if (i < 0 || i >= n) return std::nullopt;
    return c.sorted[static_cast<std::size_t>(i)].levelDb;
}

// The extreme at step `i` refined by a parabola through its neighbours (not at an open end).
double Refined(const Circle& c, long i) {
    const auto before = LevelAt(c, i - 1);
    const auto after = LevelAt(c, i + 1);
    const double at = c.sorted[static_cast<std::size_t>(i)].azimuthDeg;
    if (!before || !after) return at;
    return Wrap(at + ParabolaOffset(*before, *LevelAt(c, i), *after) * c.stepDeg);
}

// How far the level stays within 3 dB of the peak at step `peak`, each way, interpolated
// linearly between steps; `open` when an end of a part comes first.
double HalfPowerWidth(const Circle& c, long peak, bool& open) {
    const double limit = *LevelAt(c, peak) - HalfPowerDb;
    const long n = static_cast<long>(c.sorted.size());
    double width = 0;
    for (int dir : {-1, 1}) {
        long i = peak;
        double reach = 0;
        for (;;) {
            const auto next = LevelAt(c, i + dir);
            if (!next || std::abs(i + dir - peak) >= n) {
                open = true;
                break;
            }
            const double here = *LevelAt(c, i);
            if (*next < limit) {
                reach += c.stepDeg * (here - limit) / (here - *next);
                break;
            }
            reach += c.stepDeg;
            i += dir;
        }
        width += reach;
    }
    return std::min(width, 360.0);
}

}  // namespace

std::optional<BearingEstimate> EstimateBearing(const std::vector<BearingLevel>& levels) {
    if (levels.size() < 3) return std::nullopt;
    for (const BearingLevel& b : levels)
        if (!std::isfinite(b.levelDb) || !std::isfinite(b.azimuthDeg)) return std::nullopt;
    const Circle c = Arrange(levels);
    const auto byLevel = [](const BearingLevel& a, const BearingLevel& b) { return a.levelDb < b.levelDb; };
    const long top = std::max_element(c.sorted.begin(), c.sorted.end(), byLevel) - c.sorted.begin();
    const long low = std::min_element(c.sorted.begin(), c.sorted.end(), byLevel) - c.sorted.begin();
    std::vector<double> all;
    for (const BearingLevel& b : c.sorted) all.push_back(b.levelDb);
    const double median = Median(all);

    BearingEstimate e;
    e.fullCircle = c.full;
    e.sharpNull = median - c.sorted[static_cast<std::size_t>(low)].levelDb >= SharpNullDepthDb;
    if (c.full) {
        double re = 0, im = 0;
        for (const BearingLevel& b : c.sorted) {
            const double p = std::pow(10.0, b.levelDb / 10.0);
            re += p * std::cos(Radians(b.azimuthDeg));
            im += p * std::sin(Radians(b.azimuthDeg));
        }
        e.strongestDeg = Wrap(std::atan2(im, re) * 180.0 / std::numbers::pi);
        e.weakestDeg = e.sharpNull ? Refined(c, low) : Wrap(e.strongestDeg + 180.0);
    } else {
        e.strongestDeg = Refined(c, top);
        e.weakestDeg = Refined(c, low);
    }
    e.halfPowerWidthDeg = HalfPowerWidth(c, top, e.widthOpen);
    return e;
}

std::string BearingSummary(const BearingEstimate& e) {
    const auto deg = [](double d) { return std::to_string(static_cast<int>(std::lround(d)) % 360) + "\u00b0"; };
    return "Strongest noise from " + deg(e.strongestDeg) + " (half-power width " +
           (e.widthOpen ? "more than " : "") + deg(e.halfPowerWidthDeg) + "), weakest from " +
           deg(e.weakestDeg) + ".";
}

}  // namespace fw
