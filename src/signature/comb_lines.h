#pragma once
// A comb of spectral lines: at least five lines more than 10 dB above N0 that stand one
// spacing apart, within a bin.
#include <optional>
#include <vector>

#include "noisefloor/noise_floor.h"
#include "signature/noise_signature.h"

namespace fw {

inline constexpr int MinCombLines = 5;

// The longest run of evenly spaced lines in `spectrum` (the used bins in frequency order, of
// width `binWidthHz`), a line being a local peak more than 10 dB above `n0DbfsPerHz`. A run
// may step over the gap the used bins leave around the centre `centreHz`. None when no run
// has MinCombLines lines; of equal runs, the one of the smaller spacing.
std::optional<NoiseComb> FindComb(const std::vector<SpectrumBin>& spectrum, double n0DbfsPerHz,
                                  double binWidthHz, double centreHz);

}  // namespace fw
