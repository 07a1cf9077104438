#pragma once
// The repetition rate of bursts: the strongest line of the envelope's spectrum between
// 10 Hz and 1 kHz that stands at least 10 dB above that spectrum's median.
#include <optional>
#include <vector>

namespace fw {

inline constexpr double MinBurstRateHz = 10;
inline constexpr double MaxBurstRateHz = 1000;
inline constexpr double BurstLineAboveMedianDb = 10;

// `envelope` is the envelope averaged down to `rateHz` (at least 2 kHz). A line whose
// frequency divided by 2, 3 or 4 also carries such a line is a harmonic: the rate is the
// lowest of them, so that bursts at 100 Hz whose second harmonic happens to be stronger
// still read 100 Hz.
std::optional<double> FindBurstRate(const std::vector<float>& envelope, double rateHz);

}  // namespace fw
