#include "noise_model.h"

#include <cmath>

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
    rc.freqGrid = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    const double bandwidthTerm = 10.0 * SafeLog10(static_cast<double>(bandwidthHz));
    for (int e = 0; e < NoiseEnvCount; ++e) {
        rc.refFa[e].reserve(rc.freqGrid.size());
        rc.refField[e].reserve(rc.freqGrid.size());
    }
    for (const double f : rc.freqGrid) {
        const double L = SafeLog10(f / 1'000'000.0);
        for (int e = 0; e < NoiseEnvCount; ++e) {
            const NoiseEnv& env = NoiseEnvs[e];
            const double fa =
                (env.galactic && !(f >= GalacticLowHz)) ? UnknownLevel : env.c - env.d * L;
            rc.refFa[e].push_back(fa);
            rc.refField[e].push_back(fa + 20.0 * L + bandwidthTerm - 98.9);
        }
    }
    return rc;
}

}  // namespace fw
