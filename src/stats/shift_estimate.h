#pragma once
// The Hodges-Lehmann estimate of the shift between two samples and its confidence
// interval, found by selection in the sorted matrix of differences: the n_b * n_a
// differences are never all formed, let alone sorted.
#include <cstdint>
#include <span>

namespace fw {

// The k-th smallest (1-based, 1 <= k <= n_b * n_a) of the differences after[j] - before[i];
// both samples sorted ascending, neither empty, no NaN. Exactly the value that sorting all
// the differences would put at position k.
double KthDifference(std::span<const double> sortedBefore, std::span<const double> sortedAfter,
                     std::int64_t k);

// The rank k of the 95 % interval [d(k), d(M + 1 - k)] of the M sorted differences:
// floor(M / 2 - 1.959964 * sqrt(n_b * n_a * (n_b + n_a + 1) / 12)), at least 1.
std::int64_t ConfidenceRank(std::int64_t nBefore, std::int64_t nAfter);

struct ShiftEstimate {
    double shift = 0;  // the median of the differences (after - before)
    double ciLow = 0;
    double ciHigh = 0;
};

// The shift and its 95 % interval; both samples sorted ascending and not empty.
ShiftEstimate EstimateShift(std::span<const double> sortedBefore,
                            std::span<const double> sortedAfter);

}  // namespace fw
