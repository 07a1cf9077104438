#pragma once
// Where noise comes from, from the levels a directional antenna read at a set of bearings.
// On a full circle the strongest bearing is the phase of the first Fourier harmonic of the
// levels in linear power, which a broad pattern does not mislead; the weakest is that fit's
// null, or, where the pattern has a sharp null (a small loop), the lowest step refined by a
// parabola. On part of the circle both extremes are refined by a parabola.
#include <optional>
#include <string>
#include <vector>

namespace fw {

struct BearingLevel {
    double azimuthDeg = 0;
    double levelDb = 0;
};

struct BearingEstimate {
    bool fullCircle = false;
    double strongestDeg = 0;  // 0 <= deg < 360
    double weakestDeg = 0;
    double halfPowerWidthDeg = 0;  // the span around the strongest within 3 dB of the peak
    bool widthOpen = false;         // the level stays within 3 dB up to an end of the span
    bool sharpNull = false;
};

// A null at least this far below the median level is sharp.
inline constexpr double SharpNullDepthDb = 10.0;

// At least three bearings in the order they were read, each level finite. None for fewer.
std::optional<BearingEstimate> EstimateBearing(const std::vector<BearingLevel>& levels);

// "Strongest noise from 123° (half-power width 131°), weakest from 303°."
std::string BearingSummary(const BearingEstimate& e);

}  // namespace fw
