#pragma once
// What kind of noise a capture holds, from its complex baseband samples and its noise floor:
// the voltage deviation Vd = 20 log10(r.m.s. / mean of the envelope), which is 1.05 dB for
// Gaussian noise and larger the more impulsive the noise; the amplitude probability
// distribution against N0; the repetition rate of bursts; and a comb of evenly spaced lines.
#include <array>
#include <optional>
#include <vector>

#include "model/outcome.h"
#include "noisefloor/noise_floor.h"

namespace fw {

// The envelope's levels above the noise power N0 * B at which the APD is given, in dB.
inline constexpr std::array<int, 5> ApdLevelsDb = {0, 5, 10, 15, 20};
// At most this many samples of a capture go into the signature (32 MB, 2 s at 2.048 MS/s).
inline constexpr std::size_t SignatureMaxSamples = std::size_t{1} << 22;
// Vd above this is impulsive noise.
inline constexpr double ImpulsiveVdDb = 1.5;

struct NoiseComb {
    double spacingHz = 0;
    int lines = 0;
    std::vector<double> lineFreqsHz;  // where the comb's lines stand, for the spectrum view
};

struct NoiseSignature {
    double vdDb = 0;
    std::array<double, ApdLevelsDb.size()> apd{};  // fraction 0..1 of time above N0 + level
    std::optional<double> burstRateHz;
    std::optional<NoiseComb> comb;
    double bandwidthHz = 0;  // the span the envelope was taken over, after the notches

    bool impulsive() const { return vdDb > ImpulsiveVdDb || burstRateHz.has_value(); }
};

// The signature of the samples whose transforms `estimator` kept (keepTransforms with
// SignatureMaxSamples), `floor` and `spectrum` being its result and used spectrum. The
// envelope is that of the used span with the bins more than 10 dB above N0 notched out, so
// that carriers do not hide the noise's own statistics. Fails with the reason when no
// transform was kept or nothing is left after the notches.
Outcome<NoiseSignature> ComputeSignature(const NoiseFloorEstimator& estimator, const NoiseFloor& floor,
                                         const std::vector<SpectrumBin>& spectrum);

}  // namespace fw
