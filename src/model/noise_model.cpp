#include "model/noise_model.h"

#include <array>
#include <cmath>
#include <numbers>

#include "libs/fw_math.h"

namespace fw {

const std::array<NoiseEnv, NoiseEnvCount> NoiseEnvs = {{
    {NoiseEnvId::City, "City", 76.8, 27.7, false},
    {NoiseEnvId::Residential, "Residential", 72.5, 27.7, false},
    {NoiseEnvId::Rural, "Rural", 67.2, 27.7, false},
    {NoiseEnvId::QuietRural, "Quiet Rural", 53.6, 28.6, false},
    {NoiseEnvId::Galactic, "Galactic", 52.0, 23.0, true},
}};

LogGrid makeLogGridWithLogs(int count, double lowHz, double highHz) {
    LogGrid grid;
    if (count < 2) return grid;
    const double a = SafeLog10(lowHz);
    const double b = SafeLog10(highHz);
    const double step = (b - a) / (count - 1);
    grid.hz.resize(static_cast<std::size_t>(count));
    grid.log10Hz.resize(static_cast<std::size_t>(count));
    // The grid is rebuilt on every redraw, and 10^exponent for every point costs a thousand
    // exponentials. Instead every 16th point is exact and the others are it times
    // 10^(k * step): one rounding more, so each frequency is within two units of its last bit.
    constexpr int block = 16;
    std::array<double, block> stepPowers{};
    for (int k = 0; k < block; ++k) stepPowers[k] = std::exp(k * step * std::numbers::ln10);
    for (int d = 0; d < count; ++d) {
        grid.log10Hz[d] = a + d * step;
        const int k = d % block;
        grid.hz[d] = k == 0 ? std::exp(grid.log10Hz[d] * std::numbers::ln10)
                            : grid.hz[d - k] * stepPowers[k];
    }
    return grid;
}

std::vector<double> makeLogGrid(int count, double lowHz, double highHz) {
    return makeLogGridWithLogs(count, lowHz, highHz).hz;
}

ReferenceCurves computeReferenceCurves(std::int32_t bandwidthHz) {
    ReferenceCurves rc;
    rc.bandwidthHz = bandwidthHz;
    LogGrid grid = makeLogGridWithLogs(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    rc.freqGrid = std::move(grid.hz);
    rc.log10Freq = std::move(grid.log10Hz);

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
