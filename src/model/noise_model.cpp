#include "noise_model.h"

#include <cmath>
#include <numbers>

#include "fw_math.h"

namespace fw {

const std::array<NoiseEnv, NoiseEnvCount> NoiseEnvs = {{
    {NoiseEnvId::City, "City", 76.8, 27.7, false},
    {NoiseEnvId::Residential, "Residential", 72.5, 27.7, false},
    {NoiseEnvId::Rural, "Rural", 67.2, 27.7, false},
    {NoiseEnvId::QuietRural, "Quiet Rural", 53.6, 28.6, false},
    {NoiseEnvId::Galactic, "Galactic", 52.0, 23.0, true},
}};

std::vector<double> makeLogGrid(int count, double lowHz, double highHz) {
    std::vector<double> grid;
    if (count < 2) return grid;
    grid.reserve(static_cast<std::size_t>(count));
    const double a = SafeLog10(lowHz);
    const double b = SafeLog10(highHz);
    for (int d = 0; d < count; ++d) grid.push_back(std::pow(10.0, a + d * (b - a) / (count - 1)));
    return grid;
}

ReferenceCurves computeReferenceCurves(std::int32_t bandwidthHz) {
    ReferenceCurves rc;
    rc.bandwidthHz = bandwidthHz;
    // The grid's exponents give log10 of every grid frequency without a logarithm call:
    // this runs on every redraw.
    const double a = SafeLog10(FreqGridLowHz);
    const double b = SafeLog10(FreqGridHighHz);
    const double step = (b - a) / (FreqGridCount - 1);
    rc.freqGrid.resize(FreqGridCount);
    rc.log10Freq.resize(FreqGridCount);
    // 10^exponent for every point costs a thousand exponentials per redraw. Instead every
    // 16th point is exact and the others are it times 10^(k * step): one rounding more,
    // so each frequency is within two units of its last bit.
    constexpr int block = 16;
    std::array<double, block> stepPowers{};
    for (int k = 0; k < block; ++k) stepPowers[k] = std::exp(k * step * std::numbers::ln10);
    for (int d = 0; d < FreqGridCount; ++d) {
        rc.log10Freq[d] = a + d * step;
        const int k = d % block;
        rc.freqGrid[d] = k == 0 ? std::exp(rc.log10Freq[d] * std::numbers::ln10)
                                : rc.freqGrid[d - k] * stepPowers[k];
    }

    const double bandwidthTerm = 10.0 * SafeLog10(static_cast<double>(bandwidthHz));
    for (int e = 0; e < NoiseEnvCount; ++e) {
        const NoiseEnv& env = NoiseEnvs[e];
        std::vector<double>& fa = rc.refFa[e];
        std::vector<double>& field = rc.refField[e];
        fa.resize(FreqGridCount);
        field.resize(FreqGridCount);
        for (int d = 0; d < FreqGridCount; ++d) {
            const double L = rc.log10Freq[d] - 6.0;  // log10 of the frequency in MHz
            const double value = (env.galactic && !(rc.freqGrid[d] >= GalacticLowHz))
                                     ? UnknownLevel
                                     : env.c - env.d * L;
            fa[d] = value;
            field[d] = value + 20.0 * L + bandwidthTerm - 98.9;
        }
    }
    return rc;
}

}  // namespace fw
