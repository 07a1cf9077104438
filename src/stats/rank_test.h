#pragma once
// The two-sided Mann-Whitney U test of two samples.
#include <span>

namespace fw {

// The two-sided p-value of the Mann-Whitney U test in the normal approximation, with the
// variance corrected for ties and a continuity correction of 1/2: z = (|U - n_b n_a / 2| -
// 1/2) / sigma, p = 2 (1 - Phi(z)), at most 1. Both samples sorted ascending and not empty;
// 1 where every value is the same.
double MannWhitneyP(std::span<const double> sortedBefore, std::span<const double> sortedAfter);

}  // namespace fw
