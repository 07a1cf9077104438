#pragma once
// Order statistics of a set of numbers: the one median of the program, for the rig's
// samples, the log's readings and its statistics alike.
#include <span>

namespace fw {

// The q-quantile (0 <= q <= 1) of the values, interpolated linearly between neighbouring
// order statistics: position (n - 1) * q in the sorted values. Reorders `values`. NaN when
// there are none: an empty set has no median, and no number may stand for one.
double Quantile(std::span<double> values, double q);

// The middle value; the mean of the two middle values of an even count. NaN for none.
double Median(std::span<double> values);

}  // namespace fw
