#include "stats/shift_estimate.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace fw {

namespace {

// The matrix d(i, j) = after[j] - before[i]. With both samples ascending, each row ascends
// with j and each column descends with i. Rounding is monotone, so the computed differences
// keep that order, and counting by walking the rows is exact.
class DifferenceMatrix {
  public:
    DifferenceMatrix(std::span<const double> before, std::span<const double> after)
        : before_(before), after_(after) {}

    std::size_t rows() const { return before_.size(); }
    std::size_t cols() const { return after_.size(); }
    double at(std::size_t i, std::size_t j) const { return after_[j] - before_[i]; }

    // Per row, the number of differences below p (`less`) and not above p (`notAbove`).
    // Both boundaries move only right as i grows, so one pass over the columns finds them.
    void countAround(double p, std::vector<std::size_t>& less,
                     std::vector<std::size_t>& notAbove) const {
        std::size_t lt = 0;
        std::size_t le = 0;
        for (std::size_t i = 0; i < rows(); ++i) {
            while (lt < cols() && at(i, lt) < p) ++lt;
            if (le < lt) le = lt;
            while (le < cols() && at(i, le) <= p) ++le;
            less[i] = lt;
            notAbove[i] = le;
        }
    }

  private:
    std::span<const double> before_;
    std::span<const double> after_;
};

std::uint64_t Sum(const std::vector<std::size_t>& v) {
    std::uint64_t s = 0;
    for (std::size_t x : v) s += x;
    return s;
}

}  // namespace

double KthDifference(std::span<const double> sortedBefore, std::span<const double> sortedAfter,
                     std::int64_t k) {
    const DifferenceMatrix d(sortedBefore, sortedAfter);
    const std::size_t rows = d.rows();
    // The candidates of row i are its columns [lo[i], hi[i]); everything left of lo is
    // below the k-th difference, everything from hi on above it.
    std::vector<std::size_t> lo(rows, 0);
    std::vector<std::size_t> hi(rows, d.cols());
    std::vector<std::size_t> less(rows);
    std::vector<std::size_t> notAbove(rows);
    const auto rank = static_cast<std::uint64_t>(k);
    // A fixed seed: the same input always takes the same path.
    std::mt19937_64 random(0x9e3779b97f4a7c15ULL);
    const std::uint64_t gatherBelow = std::max<std::uint64_t>(d.rows() + d.cols(), 256);

    for (;;) {
        std::uint64_t candidates = 0;
        for (std::size_t i = 0; i < rows; ++i) candidates += hi[i] - lo[i];
        if (candidates <= gatherBelow) {
            std::vector<double> rest;
            rest.reserve(candidates);
            for (std::size_t i = 0; i < rows; ++i)
                for (std::size_t j = lo[i]; j < hi[i]; ++j) rest.push_back(d.at(i, j));
            const auto nth = static_cast<std::ptrdiff_t>(rank - 1 - Sum(lo));
            std::nth_element(rest.begin(), rest.begin() + nth, rest.end());
            return rest[static_cast<std::size_t>(nth)];
        }
        // A pivot drawn evenly from the candidates halves their number on average.
        std::uint64_t pick = std::uniform_int_distribution<std::uint64_t>(0, candidates - 1)(random);
        std::size_t row = 0;
        for (; pick >= hi[row] - lo[row]; ++row) pick -= hi[row] - lo[row];
        const double pivot = d.at(row, lo[row] + pick);

        d.countAround(pivot, less, notAbove);
        if (rank <= Sum(less)) {
            for (std::size_t i = 0; i < rows; ++i) hi[i] = std::min(hi[i], less[i]);
        } else if (rank <= Sum(notAbove)) {
            return pivot;
        } else {
            for (std::size_t i = 0; i < rows; ++i) lo[i] = std::max(lo[i], notAbove[i]);
        }
    }
}

std::int64_t ConfidenceRank(std::int64_t nBefore, std::int64_t nAfter) {
    const double nb = static_cast<double>(nBefore);
    const double na = static_cast<double>(nAfter);
    const double k = std::floor(nb * na / 2 - 1.959964 * std::sqrt(nb * na * (nb + na + 1) / 12));
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(k));
}

ShiftEstimate EstimateShift(std::span<const double> sortedBefore,
                            std::span<const double> sortedAfter) {
    const auto m = static_cast<std::int64_t>(sortedBefore.size() * sortedAfter.size());
    const auto kth = [&](std::int64_t k) { return KthDifference(sortedBefore, sortedAfter, k); };
    ShiftEstimate e;
    // The median of an even count is the mean of the two middle values.
    e.shift = m % 2 == 1 ? kth((m + 1) / 2) : (kth(m / 2) + kth(m / 2 + 1)) / 2;
    const std::int64_t k = std::min(ConfidenceRank(static_cast<std::int64_t>(sortedBefore.size()),
                                                   static_cast<std::int64_t>(sortedAfter.size())),
                                    m);
    e.ciLow = kth(k);
    e.ciHigh = kth(m + 1 - k);
    return e;
}

}  // namespace fw
