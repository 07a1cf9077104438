#pragma once
// The noise density of a whole band from complex baseband samples: a Welch spectrum (Hann
// window, no overlap) whose used bins are reduced by the 20 % method, so that carriers and
// stations in up to a quarter of the bins lift the result only slightly. A band fuller than
// that is measured from the 5th percentile where that still finds noise, and refused where
// not, so that no figure is more than about 1 dB off.
#include <complex>
#include <span>
#include <vector>

#include "model/outcome.h"
#include "noisefloor/fft_plan.h"
#include "noisefloor/full_scale.h"

namespace fw {

struct NoiseFloor {
    double densityDbfsPerHz = 0;  // N0, dBFS/Hz
    int segments = 0;             // K
    int fftLength = 0;            // N
    int binsUsed = 0;
    double occupancy = 0;  // fraction (0..1) of used bins > 10 dB above N0
    double percentile = 20;  // the percentile of the bins N0 was taken from
    std::uint64_t fullScaleSamples = 0;  // I/Q pairs at the converter's full scale
    bool overloaded = false;  // given only where an overloaded reading was allowed
};

struct SpectrumBin {
    double freqHz;
    double densityDbfsPerHz;
};

// The smallest power of two N (at least 64) with sampleRateHz / N <= 100 Hz.
int NoiseFftLength(double sampleRateHz);

// Streaming Welch/20 % estimator: feed complex baseband samples (full scale 1.0) in pieces of
// any size; FFT segments are taken as they fill. One FFTW plan per FFT length, reused.
class NoiseFloorEstimator {
  public:
    // The sample rate must be a positive, finite number of at most MaxSampleRateHz; result()
    // names any other.
    NoiseFloorEstimator(double sampleRateHz, double centreHz);
    void add(std::span<const std::complex<float>> samples);
    // The full-scale count of the samples added, counted on their native format.
    void addFullScale(const FullScaleCount& count) { fullScale_ += count; }
    int segments() const { return segments_; }
    bool overloaded() const { return IsOverloaded(fullScale_); }
    // Fails (with a reason) when fewer than one full segment was added, and with OverloadText
    // when overloaded() unless `allowOverload`; the result carries the full-scale count.
    Outcome<NoiseFloor> result(bool allowOverload = false) const;
    double sampleRateHz() const { return sampleRateHz_; }
    double centreHz() const { return centreHz_; }
    int fftLength() const { return length_; }
    // Keeps the unwindowed transforms of the segments of the first `maxSamples` samples, for
    // the noise's signature, which filters them and takes them back to the time domain.
    void keepTransforms(std::size_t maxSamples) { keepSamples_ = maxSamples; }
    // The kept transforms, one after the other, each fftLength() long, in FFT order.
    std::span<const std::complex<float>> keptTransforms() const { return kept_; }
    // Averaged density of every used bin, in frequency order (for --spectrum and the view).
    std::vector<SpectrumBin> usedSpectrum() const;

    static constexpr double MaxSampleRateHz = 200e6;

  private:
    void takeSegment();
    std::vector<double> usedDensities() const;  // FS^2/Hz, in frequency order

    double sampleRateHz_;
    double centreHz_;
    bool rateValid_;
    int length_ = 0;
    double windowPower_ = 0;  // sum of w^2
    std::vector<double> powerSum_;  // sum over segments of |X_k|^2, FFT order
    FftBuffer segment_;
    FftBuffer spectrum_;
    std::size_t filled_ = 0;
    int segments_ = 0;
    FullScaleCount fullScale_;
    std::size_t keepSamples_ = 0;
    std::vector<std::complex<float>> kept_;
    std::vector<ForwardFft> fft_;  // empty while the rate is invalid
};

// The antenna-input power of a measured density: 10*log10(N0 linear * B) + ref + calibration.
double AntennaPowerDbm(double densityDbfsPerHz, double bandwidthHz, double refDbm,
                       double calibrationDb);

}  // namespace fw
