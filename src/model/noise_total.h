#pragma once
// Decile deviations of the man-made and galactic noise, and the total noise of the
// atmospheric, galactic and man-made components by the log-normal combination of P.372.
#include <optional>

#include "model/atmospheric_noise.h"
#include "model/noise_model.h"

namespace fw {

// Deviations of the upper and lower decile from the median, dB.
struct NoiseDeciles {
    double upper = 0;
    double lower = 0;
};

// City 11.0/6.7, Residential 10.6/5.3, Rural 9.2/4.6, Quiet Rural as Rural (P.372 gives it
// none of its own), Galactic 2/2.
NoiseDeciles DecilesOf(NoiseEnvId env);

// One noise component: median Fa (dB above kT0b) with its decile deviations.
struct NoiseComponent {
    double fa = 0;
    double du = 0;
    double dl = 0;
};

struct TotalNoise {
    double fam = 0;  // the smaller of the medians estimated from the upper and the lower side
    double du = 0;
    double dl = 0;
};

// The log-normal combination, once with the upper and once with the lower deviations. The
// galactic component counts with a fixed sigma of 1.56 dB. Without an atmospheric component
// (outside 0.01-30 MHz) the same method combines galactic and man-made noise only.
TotalNoise CombineNoise(const std::optional<NoiseComponent>& atmospheric,
                        const NoiseComponent& galactic, const NoiseComponent& manMade);

// Man-made noise of an environment (City ... Quiet Rural) and galactic noise at a frequency
// above 0, over the whole frequency range.
NoiseComponent ManMadeNoise(NoiseEnvId env, double freqMHz);
NoiseComponent GalacticNoise(double freqMHz);

// Every figure of one place, hour, environment and frequency; no atmospheric figures
// outside 0.01-30 MHz.
struct NoiseBreakdown {
    std::optional<AtmosphericNoise> atmospheric;
    NoiseComponent manMade;
    NoiseComponent galactic;
    TotalNoise total;
};
NoiseBreakdown ComputeNoiseBreakdown(const ItuNoiseCoefficients& c, const AtmosphericSite& site,
                                     NoiseEnvId env, double freqMHz);

}  // namespace fw
