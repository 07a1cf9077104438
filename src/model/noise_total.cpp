#include "model/noise_total.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fw {

namespace {

constexpr double DecileFactor = 1.282;  // decile deviation = 1.282 sigma
constexpr double GalacticSigma = 1.56;
// Above this decile deviation (dB) the total's sigma comes from the mean alone.
constexpr double WideDecileDb = 12.0;

struct Side {
    double fa;
    double sigma;
    double decile;
};

struct SideTotal {
    double fam;
    double decile;
};

SideTotal CombineSide(const Side* sides, int count) {
    const double c = 10.0 / std::numbers::ln10;
    double alpha = 0, beta = 0, gamma = 0;
    bool wide = false;
    for (int i = 0; i < count; ++i) {
        const Side& s = sides[i];
        const double e = std::exp(s.fa / c + s.sigma * s.sigma / (2 * c * c));
        alpha += e;
        beta += e * e * (std::exp((s.sigma / c) * (s.sigma / c)) - 1);
        gamma += std::exp(s.fa / c);
        wide = wide || s.decile > WideDecileDb;
    }
    const double sigma = wide ? c * std::sqrt(2 * std::log(alpha / gamma))
                              : c * std::sqrt(std::log(1 + beta / (alpha * alpha)));
    return {c * (std::log(alpha) - sigma * sigma / (2 * c * c)), DecileFactor * sigma};
}

}  // namespace

NoiseDeciles DecilesOf(NoiseEnvId env) {
    switch (env) {
        case NoiseEnvId::City:
            return {11.0, 6.7};
        case NoiseEnvId::Residential:
            return {10.6, 5.3};
        case NoiseEnvId::Rural:
        case NoiseEnvId::QuietRural:
            return {9.2, 4.6};
        case NoiseEnvId::Galactic:
            break;
    }
    return {2.0, 2.0};
}

TotalNoise CombineNoise(const std::optional<NoiseComponent>& atmospheric,
                        const NoiseComponent& galactic, const NoiseComponent& manMade) {
    Side upper[3], lower[3];
    int n = 0;
    auto add = [&](const NoiseComponent& k, double sigmaUpper, double sigmaLower) {
        upper[n] = {k.fa, sigmaUpper, k.du};
        lower[n] = {k.fa, sigmaLower, k.dl};
        ++n;
    };
    if (atmospheric)
        add(*atmospheric, atmospheric->du / DecileFactor, atmospheric->dl / DecileFactor);
    add(galactic, GalacticSigma, GalacticSigma);
    add(manMade, manMade.du / DecileFactor, manMade.dl / DecileFactor);

    const SideTotal up = CombineSide(upper, n);
    const SideTotal low = CombineSide(lower, n);
    return {std::min(up.fam, low.fam), up.decile, low.decile};
}

NoiseComponent ManMadeNoise(NoiseEnvId env, double freqMHz) {
    const NoiseEnv& e = NoiseEnvs[static_cast<int>(env)];
    const NoiseDeciles d = DecilesOf(env);
    return {e.c - e.d * std::log10(freqMHz), d.upper, d.lower};
}

NoiseComponent GalacticNoise(double freqMHz) {
    const NoiseDeciles d = DecilesOf(NoiseEnvId::Galactic);
    return {52.0 - 23.0 * std::log10(freqMHz), d.upper, d.lower};
}

NoiseBreakdown ComputeNoiseBreakdown(const ItuNoiseCoefficients& c, const AtmosphericSite& site,
                                     NoiseEnvId env, double freqMHz) {
    NoiseBreakdown b;
    b.manMade = ManMadeNoise(env, freqMHz);
    b.galactic = GalacticNoise(freqMHz);
    std::optional<NoiseComponent> atmospheric;
    if (InAtmosphericRange(freqMHz)) {
        b.atmospheric = AtmosphericNoiseAt(c, site, freqMHz);
        atmospheric = NoiseComponent{b.atmospheric->fa, b.atmospheric->du, b.atmospheric->dl};
    }
    b.total = CombineNoise(atmospheric, b.galactic, b.manMade);
    return b;
}

}  // namespace fw
