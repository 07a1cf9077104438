#include "signature/burst_rate.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "libs/median.h"
#include "noisefloor/fft_plan.h"

namespace fw {

namespace {

constexpr std::size_t MinEnvelopeSamples = 64;
constexpr double SegmentSeconds = 0.25;

// The peak's position refined by a parabola through the logarithms of it and its neighbours.
double RefinedBin(const std::vector<double>& power, std::size_t k) {
    if (k == 0 || k + 1 >= power.size()) return static_cast<double>(k);
    const double a = std::log(power[k - 1]);
    const double b = std::log(power[k]);
    const double c = std::log(power[k + 1]);
    const double curve = a - 2 * b + c;
    if (!(curve < 0)) return static_cast<double>(k);
    return static_cast<double>(k) + 0.5 * (a - c) / curve;
}

// The strongest bin within `halfWidth` of `k`.
std::size_t PeakNear(const std::vector<double>& power, std::size_t k, std::size_t halfWidth) {
    const std::size_t lo = k > halfWidth ? k - halfWidth : 1;
    const std::size_t hi = std::min(power.size() - 1, k + halfWidth);
    std::size_t best = lo;
    for (std::size_t i = lo; i <= hi; ++i)
        if (power[i] > power[best]) best = i;
    return best;
}

}  // namespace

std::optional<double> FindBurstRate(const std::vector<float>& envelope, double rateHz) {
    if (envelope.size() < MinEnvelopeSamples || !(rateHz >= 2 * MaxBurstRateHz)) return std::nullopt;
    double mean = 0;
    for (float e : envelope) mean += e;
    mean /= static_cast<double>(envelope.size());

    // Welch: Hann segments of about a quarter second, half overlapping, averaged, so that a
    // bin of mere noise seldom stands 10 dB above the median. A short envelope gets shorter
    // segments, at least three of them, rather than fewer.
    int length = 16;
    while (length < SegmentSeconds * rateHz && static_cast<std::size_t>(length) * 4 <= envelope.size()) length *= 2;
    const std::size_t segment = static_cast<std::size_t>(length);
    const std::size_t hop = std::max<std::size_t>(1, segment / 2);
    std::vector<float> window(segment);
    for (std::size_t i = 0; i < segment; ++i)
        window[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) /
                                                             static_cast<double>(segment)));
    FftBuffer in(static_cast<std::size_t>(length));
    FftBuffer out(static_cast<std::size_t>(length));
    const ForwardFft fft(length);
    std::vector<double> power(static_cast<std::size_t>(length / 2 + 1), 1e-300);
    for (std::size_t start = 0; start + segment <= envelope.size(); start += hop) {
        std::fill_n(in.data(), length, std::complex<float>());
        for (std::size_t i = 0; i < segment; ++i)
            in.data()[i] = static_cast<float>((envelope[start + i] - mean) * window[i]);
        fft.run(in, out);
        for (std::size_t k = 0; k < power.size(); ++k) power[k] += std::norm(out.data()[k]);
    }

    std::vector<double> rest(power.begin() + 1, power.end());
    const double threshold = Median(rest) * std::pow(10.0, BurstLineAboveMedianDb / 10.0);
    const double binHz = rateHz / length;
    const auto lo = static_cast<std::size_t>(std::ceil(MinBurstRateHz / binHz));
    const auto hi = std::min(power.size() - 2, static_cast<std::size_t>(MaxBurstRateHz / binHz));
    std::size_t best = 0;
    for (std::size_t k = std::max<std::size_t>(lo, 1); k <= hi; ++k)
        if (power[k] > threshold && (best == 0 || power[k] > power[best])) best = k;
    if (best == 0) return std::nullopt;

    const double strongest = RefinedBin(power, best);
    // A line at a whole fraction of the strongest is the fundamental of its harmonics.
    for (int divisor : {4, 3, 2}) {
        const double k = strongest / divisor;
        if (k * binHz < MinBurstRateHz) continue;
        const std::size_t near = PeakNear(power, static_cast<std::size_t>(std::lround(k)), 1);
        if (power[near] > threshold) return RefinedBin(power, near) * binHz;
    }
    return strongest * binHz;
}

}  // namespace fw
