#include "stats/rank_test.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

// The number of values equal to v from position `from` on of an ascending sample.
std::size_t RunOf(std::span<const double> sorted, std::size_t from, double v) {
    std::size_t to = from;
    while (to < sorted.size() && sorted[to] == v) ++to;
    return to - from;
}

}  // namespace

double MannWhitneyP(std::span<const double> sortedBefore, std::span<const double> sortedAfter) {
    const double nb = static_cast<double>(sortedBefore.size());
    const double na = static_cast<double>(sortedAfter.size());
    const double n = nb + na;
    // Walks both samples in merged order, one group of equal values at a time: each value of
    // a group takes the group's mean rank.
    double rankSumAfter = 0;
    double tieTerm = 0;  // sum of t^3 - t over the groups of t equal values
    double ranked = 0;
    std::size_t b = 0;
    std::size_t a = 0;
    while (b < sortedBefore.size() || a < sortedAfter.size()) {
        const double v = b == sortedBefore.size()  ? sortedAfter[a]
                         : a == sortedAfter.size() ? sortedBefore[b]
                                                   : std::min(sortedBefore[b], sortedAfter[a]);
        const std::size_t inBefore = RunOf(sortedBefore, b, v);
        const std::size_t inAfter = RunOf(sortedAfter, a, v);
        const double t = static_cast<double>(inBefore + inAfter);
        rankSumAfter += static_cast<double>(inAfter) * (ranked + (t + 1) / 2);
        tieTerm += t * t * t - t;
        ranked += t;
        b += inBefore;
        a += inAfter;
    }
    const double u = rankSumAfter - na * (na + 1) / 2;
    const double variance = nb * na / 12 * ((n + 1) - tieTerm / (n * (n - 1)));
    if (!(variance > 0)) return 1;
    const double z = (std::abs(u - nb * na / 2) - 0.5) / std::sqrt(variance);
    return std::min(1.0, std::erfc(z / std::sqrt(2.0)));
}

}  // namespace fw
