// The noise's signature of one second of 2.048 MS/s (noise with a few carriers), beside the
// noise-floor estimate of the same samples as its baseline (keeping the transforms that the
// signature reuses, as the programs do): the signature is meant to cost at most 1.5 times the
// estimate.
#include <benchmark/benchmark.h>

#include "noisefloor/noise_floor.h"
#include "signature/noise_signature.h"
#include "support/synthetic_iq.h"

namespace {

constexpr double Rate = 2.048e6;
constexpr double Centre = 7.1e6;

const std::vector<std::complex<float>>& Samples() {
    static const auto samples = [] {
        // The FFT plan is made once per process, before either is timed.
        const fw::ForwardFft plan(fw::NoiseFftLength(Rate));
        return fw::test::SyntheticIq(Rate, 1e-9, {{1000, 1e-3}, {-250000, 1e-4}, {400000, 1e-5}}, 3)
            .take(Rate);
    }();
    return samples;
}

void Signature_Baseline(benchmark::State& state) {
    Samples();
    for (auto _ : state) {
        fw::NoiseFloorEstimator estimator(Rate, Centre);
        estimator.keepTransforms(fw::SignatureMaxSamples);  // as the programs run it
        estimator.add(Samples());
        const auto floor = estimator.result();
        if (!floor) state.SkipWithError(floor.reason().c_str());
        benchmark::DoNotOptimize(floor);
    }
}

void Signature(benchmark::State& state) {
    fw::NoiseFloorEstimator estimator(Rate, Centre);
    estimator.keepTransforms(fw::SignatureMaxSamples);
    estimator.add(Samples());
    const fw::NoiseFloor floor = estimator.result().value();
    const auto spectrum = estimator.usedSpectrum();
    for (auto _ : state) {
        const auto sig = fw::ComputeSignature(estimator, floor, spectrum);
        if (!sig) state.SkipWithError(sig.reason().c_str());
        benchmark::DoNotOptimize(sig);
    }
}

}  // namespace

BENCHMARK(Signature_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(Signature)->Unit(benchmark::kMillisecond);
