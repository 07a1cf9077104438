#pragma once
// Samples of known kinds of noise for the signature's tests: Gaussian noise, noise with
// periodic bursts, and noise with a comb of carriers, at 256 kS/s from fixed seeds.
#include <cmath>
#include <complex>
#include <vector>

#include "noisefloor/noise_floor.h"
#include "signature/noise_signature.h"
#include "support/synthetic_iq.h"

namespace fw::test {

inline constexpr double SigRate = 256000;
inline constexpr double SigN0 = 1e-12;  // -120 dBFS/Hz

// Gaussian noise with `bursts` per second: each lasts `burstSeconds` and is 20 dB stronger.
inline std::vector<std::complex<float>> BurstyNoise(double seconds, double burstsPerSecond,
                                                    double burstSeconds = 5e-4) {
    auto samples = SyntheticIq(SigRate, SigN0, {}, 7).take(static_cast<std::size_t>(seconds * SigRate));
    for (std::size_t i = 0; burstsPerSecond > 0 && i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SigRate;
        if (std::fmod(t * burstsPerSecond, 1.0) < burstSeconds * burstsPerSecond) samples[i] *= 10.0f;
    }
    return samples;
}

// The signature as the programs take it: the noise floor first, then the envelope.
inline Outcome<NoiseSignature> SignatureOf(const std::vector<std::complex<float>>& samples,
                                           double centreHz = 7.1e6) {
    NoiseFloorEstimator estimator(SigRate, centreHz);
    estimator.keepTransforms(SignatureMaxSamples);
    estimator.add(samples);
    const auto floor = estimator.result();
    if (!floor) return Outcome<NoiseSignature>::Fail(floor.reason());
    return ComputeSignature(estimator, floor.value(), estimator.usedSpectrum());
}

}  // namespace fw::test
