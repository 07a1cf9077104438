#include "signature/noise_signature.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "signature/burst_rate.h"
#include "signature/comb_lines.h"

namespace fw {

namespace {

constexpr double NotchAboveDb = 10.0;
// A notch also takes this many bins on each side: a strong carrier leaks into its neighbours.
constexpr int NotchGuardBins = 2;
// The envelope is averaged down to at least this rate for the burst search.
constexpr double EnvelopeRateHz = 4000.0;

double FromDb(double db) { return std::pow(10.0, db / 10.0); }

// Which FFT bins (in FFT order) pass: the used bins, less those more than 10 dB above N0
// and their guard.
std::vector<char> PassedBins(const std::vector<SpectrumBin>& spectrum, double centreHz,
                             double binWidthHz, int length, double n0Db) {
    std::vector<char> pass(static_cast<std::size_t>(length), 0);
    auto index = [&](long m) { return static_cast<std::size_t>(((m % length) + length) % length); };
    for (const SpectrumBin& b : spectrum) pass[index(std::lround((b.freqHz - centreHz) / binWidthHz))] = 1;
    for (const SpectrumBin& b : spectrum) {
        if (b.densityDbfsPerHz <= n0Db + NotchAboveDb) continue;
        const long m = std::lround((b.freqHz - centreHz) / binWidthHz);
        for (long g = -NotchGuardBins; g <= NotchGuardBins; ++g) pass[index(m + g)] = 0;
    }
    return pass;
}

// Running sums of the envelope of the filtered samples.
struct EnvelopeSums {
    double amplitude = 0;
    double power = 0;
    std::array<long long, ApdLevelsDb.size()> above{};
    long long count = 0;
    std::vector<float> averaged;  // the envelope averaged over `decimation` samples
    double partial = 0;
    int partialCount = 0;
};

// Adds the envelope of `count` transformed samples: its sums, the APD's counts and the
// averages for the burst search, in runs that end where an average is complete.
void AddEnvelope(const std::complex<float>* x, std::size_t count,
                 const std::array<float, ApdLevelsDb.size()>& thresholds, int decimation,
                 EnvelopeSums& sums) {
    std::array<long long, ApdLevelsDb.size()> above{};
    double amplitude = 0;
    double power = 0;
    std::size_t n = 0;
    while (n < count) {
        const std::size_t run = std::min(count - n, static_cast<std::size_t>(decimation - sums.partialCount));
        float runAmplitude = 0;
        float runPower = 0;
        for (std::size_t j = n; j < n + run; ++j) {
            const float p = std::norm(x[j]);
            runAmplitude += std::sqrt(p);
            runPower += p;
            for (std::size_t i = 0; i < above.size(); ++i) above[i] += p > thresholds[i];
        }
        amplitude += runAmplitude;
        power += runPower;
        sums.partial += runAmplitude;
        sums.partialCount += static_cast<int>(run);
        if (sums.partialCount == decimation) {
            sums.averaged.push_back(static_cast<float>(sums.partial / decimation));
            sums.partial = 0;
            sums.partialCount = 0;
        }
        n += run;
    }
    for (std::size_t i = 0; i < above.size(); ++i) sums.above[i] += above[i];
    sums.amplitude += amplitude;
    sums.power += power;
    sums.count += static_cast<long long>(count);
}

}  // namespace

Outcome<NoiseSignature> ComputeSignature(const NoiseFloorEstimator& estimator, const NoiseFloor& floor,
                                         const std::vector<SpectrumBin>& spectrum) {
    const int length = estimator.fftLength();
    const double sampleRateHz = estimator.sampleRateHz();
    const auto blockSize = static_cast<std::size_t>(length);
    const std::span<const std::complex<float>> transforms = estimator.keptTransforms();
    const std::size_t blocks = transforms.size() / blockSize;
    if (blocks == 0) {
        return Outcome<NoiseSignature>::Fail("Too few samples: the signature needs " +
                                             std::to_string(length) + " samples.");
    }
    const double binWidth = sampleRateHz / length;
    const double n0Db = floor.densityDbfsPerHz;
    const std::vector<char> pass = PassedBins(spectrum, estimator.centreHz(), binWidth, length, n0Db);
    const auto passed = std::count(pass.begin(), pass.end(), 1);
    if (passed == 0) {
        return Outcome<NoiseSignature>::Fail(
            "Every used bin is more than 10 dB above N0: no noise is left for a signature.");
    }

    NoiseSignature sig;
    sig.bandwidthHz = static_cast<double>(passed) * binWidth;
    // The transform of the notched transform's conjugate is the filtered segment's conjugate
    // times the length, in time order: its magnitude is the envelope, scaled by `length`.
    const double scale2 = static_cast<double>(length) * length;
    std::array<float, ApdLevelsDb.size()> thresholds{};
    for (std::size_t i = 0; i < ApdLevelsDb.size(); ++i)
        thresholds[i] = static_cast<float>(FromDb(n0Db + ApdLevelsDb[i]) * sig.bandwidthHz * scale2);
    const int decimation = std::max(1, static_cast<int>(sampleRateHz / EnvelopeRateHz));

    const ForwardFft fft(length);
    FftBuffer block(blockSize);
    FftBuffer filtered(blockSize);
    EnvelopeSums sums;
    sums.averaged.reserve(transforms.size() / static_cast<std::size_t>(decimation) + 1);
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::complex<float>* x = transforms.data() + b * blockSize;
        for (std::size_t k = 0; k < blockSize; ++k)
            block.data()[k] = pass[k] ? std::conj(x[k]) : std::complex<float>();
        fft.run(block, filtered);
        AddEnvelope(filtered.data(), blockSize, thresholds, decimation, sums);
    }
    const double meanAmplitude = sums.amplitude / static_cast<double>(sums.count);
    const double rms = std::sqrt(sums.power / static_cast<double>(sums.count));
    if (!(meanAmplitude > 0))
        return Outcome<NoiseSignature>::Fail("The samples are all zero: there is no signal.");
    sig.vdDb = 20.0 * std::log10(rms / meanAmplitude);
    for (std::size_t i = 0; i < sig.apd.size(); ++i)
        sig.apd[i] = static_cast<double>(sums.above[i]) / static_cast<double>(sums.count);
    sig.burstRateHz = FindBurstRate(sums.averaged, sampleRateHz / decimation);
    sig.comb = FindComb(spectrum, n0Db, binWidth, estimator.centreHz());
    return Outcome<NoiseSignature>::Ok(std::move(sig));
}

}  // namespace fw
