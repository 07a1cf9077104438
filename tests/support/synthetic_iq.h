#pragma once
// Complex baseband samples of known content for the noise-floor tests and the test SDR
// module: complex Gaussian noise of a set density plus carriers, from a fixed seed.
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <random>
#include <span>
#include <vector>

namespace fw::test {

struct Carrier {
    double offsetHz;  // from the centre frequency
    double power;     // mean power, FS^2
};

// The power of a carrier on a bin centre that lifts the Hann-windowed density of its bin
// `aboveDb` above the noise density `n0` (FS^2/Hz) with FFT length `n`.
inline double CarrierPowerForBin(double n0, double aboveDb, double sampleRateHz, int n) {
    return n0 * std::pow(10.0, aboveDb / 10.0) * 1.5 * sampleRateHz / n;
}

class SyntheticIq {
  public:
    SyntheticIq(double sampleRateHz, double n0, std::vector<Carrier> carriers, std::uint64_t seed)
        : rate_(sampleRateHz), noise_(0.0, std::sqrt(n0 * sampleRateHz / 2)),
          carriers_(std::move(carriers)), random_(seed) {}

    void fill(std::span<std::complex<float>> out) {
        for (auto& s : out) {
            std::complex<double> v(noise_(random_), noise_(random_));
            const double t = static_cast<double>(index_) / rate_;
            for (const Carrier& c : carriers_) {
                v += std::polar(std::sqrt(c.power), 2 * std::numbers::pi * std::fmod(c.offsetHz * t, 1.0));
            }
            s = std::complex<float>(v);
            ++index_;
        }
    }

    std::vector<std::complex<float>> take(std::size_t count) {
        std::vector<std::complex<float>> out(count);
        fill(out);
        return out;
    }

  private:
    double rate_;
    std::normal_distribution<double> noise_;
    std::vector<Carrier> carriers_;
    std::mt19937_64 random_;
    std::uint64_t index_ = 0;
};

}  // namespace fw::test
