#include "noisefloor/noise_floor.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <charconv>
#include <string>

#include "libs/number_text.h"
#include "noisefloor/gamma_quantile.h"

namespace fw {

namespace {

constexpr double MaxBinWidthHz = 100.0;
constexpr int MinFftLength = 64;
constexpr double UsedSpanFraction = 0.8;
constexpr int DcGuardBins = 3;  // left out on each side of DC (the receiver's DC offset)
constexpr double Percentile = 0.2;
// The method's own check: for noise, the estimates from the 20th and a lower percentile agree.
// Where they do not, the quietest fifth is not noise, and the lower percentile is used if it
// agrees with a still lower one. Allowed: this much plus the statistical spread of pure noise;
// the error of an accepted figure stays within about three times the allowance.
constexpr double FallbackPercentile = 0.05;
constexpr double CheckPercentile = 0.01;
constexpr double AgreementDb = 0.3;
constexpr double SpreadsAllowed = 2.5;
constexpr double OccupiedAboveDb = 10.0;

bool ValidRate(double hz) {
    return std::isfinite(hz) && hz > 0 && hz <= NoiseFloorEstimator::MaxSampleRateHz;
}

// Calls fn(offset from DC, FFT index) for each used bin in frequency order: the central 80 %
// of the span without the DC guard.
template <class Fn>
void ForEachUsedBin(int length, Fn fn) {
    const int half = static_cast<int>(std::floor(UsedSpanFraction * length / 2));
    for (int m = -half; m <= half; ++m) {
        if (std::abs(m) > DcGuardBins) fn(m, static_cast<std::size_t>((m + length) % length));
    }
}

// The p-quantile of `values` by linear interpolation between order statistics.
double Quantile(std::vector<double> values, double p) {
    const double pos = p * static_cast<double>(values.size() - 1);
    const auto lower = static_cast<std::size_t>(std::floor(pos));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(lower),
                     values.end());
    const double low = values[lower];
    if (lower + 1 >= values.size()) return low;
    const double high = *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(lower) + 1,
                                          values.end());
    return low + (pos - static_cast<double>(lower)) * (high - low);
}

double ToDb(double linear) { return 10.0 * std::log10(linear); }

// N0 from the p-quantile of the bins, each bin being N0 times a Gamma(K, 1/K) variable, and
// the standard deviation of that estimate in dB for pure noise (the sample quantile's
// asymptotic spread; neighbouring Hann bins are correlated, so half of them count).
struct PercentileEstimate {
    double p = 0;
    double n0 = 0;
    double spreadDb = 0;
};

PercentileEstimate EstimateAt(const std::vector<double>& densities, double p, int segments) {
    const double q = GammaQuantile(p, segments, 1.0 / segments);
    const double independent = std::max(1.0, static_cast<double>(densities.size()) / 2);
    const double relative = std::sqrt(p * (1 - p) / independent) /
                            (GammaDensity(q, segments, 1.0 / segments) * q);
    return {p, Quantile(densities, p) / q, 10.0 / std::numbers::ln10 * relative};
}

double ApartDb(const PercentileEstimate& a, const PercentileEstimate& b) {
    return ToDb(a.n0) - ToDb(b.n0);
}

bool Agree(const PercentileEstimate& a, const PercentileEstimate& b) {
    return std::fabs(ApartDb(a, b)) <= AgreementDb + SpreadsAllowed * std::hypot(a.spreadDb, b.spreadDb);
}

std::string DbText(double db) {
    return FixedText(db, 1);
}

// The estimate of the 20th percentile, else of the fallback; refused where neither holds.
// A percentile is used only where every lower one checked agrees with it: a plateau of
// signals over almost the whole band agrees with itself down to the 5th percentile.
Outcome<PercentileEstimate> CheckedEstimate(const std::vector<double>& densities, int segments) {
    const PercentileEstimate usual = EstimateAt(densities, Percentile, segments);
    if (!(usual.n0 > 0)) return Outcome<PercentileEstimate>::Ok(usual);  // silence, named later
    const PercentileEstimate lower = EstimateAt(densities, FallbackPercentile, segments);
    const PercentileEstimate lowest = EstimateAt(densities, CheckPercentile, segments);
    const bool lowerHolds = lower.n0 > 0 && Agree(lower, lowest);
    if (lowerHolds && Agree(usual, lower)) return Outcome<PercentileEstimate>::Ok(usual);
    if (lowerHolds) return Outcome<PercentileEstimate>::Ok(lower);
    return Outcome<PercentileEstimate>::Fail(
        "too occupied to measure the noise floor: the 20th percentile of the spectrum reads " +
        DbText(ApartDb(usual, lower)) + " dB above the 5th, the 5th " + DbText(ApartDb(lower, lowest)) +
        " dB above the 1st, so even the quietest bins are not noise alone");
}

}  // namespace

int NoiseFftLength(double sampleRateHz) {
    int n = MinFftLength;
    while (sampleRateHz / n > MaxBinWidthHz) n *= 2;
    return n;
}

NoiseFloorEstimator::NoiseFloorEstimator(double sampleRateHz, double centreHz)
    : sampleRateHz_(sampleRateHz),
      centreHz_(centreHz),
      rateValid_(ValidRate(sampleRateHz)),
      length_(rateValid_ ? NoiseFftLength(sampleRateHz) : MinFftLength),
      segment_(static_cast<std::size_t>(length_)),
      spectrum_(static_cast<std::size_t>(length_)) {
    if (!rateValid_) return;
    // Periodic Hann window: a tone on a bin centre falls into three bins only. It is applied
    // to the transform (takeSegment), so that the unwindowed transform serves the signature.
    for (int n = 0; n < length_; ++n) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / length_);
        windowPower_ += w * w;
    }
    powerSum_.assign(static_cast<std::size_t>(length_), 0.0);
    fft_.emplace_back(length_);
}

void NoiseFloorEstimator::add(std::span<const std::complex<float>> samples) {
    if (!rateValid_) return;
    const auto length = static_cast<std::size_t>(length_);
    while (!samples.empty()) {
        const std::size_t take = std::min(samples.size(), length - filled_);
        std::copy_n(samples.data(), take, segment_.data() + filled_);
        filled_ += take;
        samples = samples.subspan(take);
        if (filled_ == length) takeSegment();
    }
}

void NoiseFloorEstimator::takeSegment() {
    fft_.front().run(segment_, spectrum_);
    const std::complex<float>* x = spectrum_.data();
    // The periodic Hann window 0.5 - 0.25 e^(2 pi i n/N) - 0.25 e^(-2 pi i n/N) is, in the
    // transform, 0.5 X[k] - 0.25 (X[k-1] + X[k+1]).
    const std::size_t last = powerSum_.size() - 1;
    powerSum_[0] += std::norm(0.5f * x[0] - 0.25f * (x[last] + x[1]));
    for (std::size_t k = 1; k < last; ++k) powerSum_[k] += std::norm(0.5f * x[k] - 0.25f * (x[k - 1] + x[k + 1]));
    powerSum_[last] += std::norm(0.5f * x[last] - 0.25f * (x[last - 1] + x[0]));
    if (kept_.size() + powerSum_.size() <= keepSamples_) kept_.insert(kept_.end(), x, x + powerSum_.size());
    filled_ = 0;
    ++segments_;
}

std::vector<double> NoiseFloorEstimator::usedDensities() const {
    std::vector<double> densities;
    if (segments_ == 0) return densities;
    const double scale = 1.0 / (segments_ * sampleRateHz_ * windowPower_);
    ForEachUsedBin(length_, [&](int, std::size_t k) { densities.push_back(powerSum_[k] * scale); });
    return densities;
}

Outcome<NoiseFloor> NoiseFloorEstimator::result(bool allowOverload) const {
    if (!rateValid_) {
        return Outcome<NoiseFloor>::Fail("The sample rate must be more than 0 and at most 200 MHz.");
    }
    if (segments_ == 0) {
        return Outcome<NoiseFloor>::Fail("Too few samples: one spectrum needs " +
                                         std::to_string(length_) + " samples.");
    }
    if (overloaded() && !allowOverload) return Outcome<NoiseFloor>::Fail(OverloadText(fullScale_));
    const std::vector<double> densities = usedDensities();
    const auto estimate = CheckedEstimate(densities, segments_);
    if (!estimate) return Outcome<NoiseFloor>::Fail(estimate.reason());
    const double n0 = estimate->n0;
    if (!(n0 > 0)) return Outcome<NoiseFloor>::Fail("The samples are all zero: there is no signal.");
    const double occupiedAbove = n0 * std::pow(10.0, OccupiedAboveDb / 10.0);
    const auto occupied = std::count_if(densities.begin(), densities.end(),
                                        [&](double p) { return p > occupiedAbove; });
    NoiseFloor floor;
    floor.densityDbfsPerHz = ToDb(n0);
    floor.segments = segments_;
    floor.fftLength = length_;
    floor.binsUsed = static_cast<int>(densities.size());
    floor.occupancy = static_cast<double>(occupied) / static_cast<double>(densities.size());
    floor.percentile = estimate->p * 100.0;
    floor.fullScaleSamples = fullScale_.atFullScale;
    floor.overloaded = overloaded();
    return Outcome<NoiseFloor>::Ok(floor);
}

std::vector<SpectrumBin> NoiseFloorEstimator::usedSpectrum() const {
    std::vector<SpectrumBin> bins;
    const std::vector<double> densities = usedDensities();
    if (densities.empty()) return bins;
    const double binWidth = sampleRateHz_ / length_;
    std::size_t i = 0;
    ForEachUsedBin(length_, [&](int m, std::size_t) {
        bins.push_back({centreHz_ + m * binWidth, ToDb(densities[i++])});
    });
    return bins;
}

double AntennaPowerDbm(double densityDbfsPerHz, double bandwidthHz, double refDbm,
                       double calibrationDb) {
    return densityDbfsPerHz + ToDb(bandwidthHz) + refDbm + calibrationDb;
}

}  // namespace fw
