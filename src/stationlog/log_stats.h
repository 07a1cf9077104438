#pragma once
// Order statistics and the noise factor of logged readings.
#include <span>

namespace fw {

// The q-quantile (0 <= q <= 1) of the values, interpolated linearly between neighbouring
// order statistics: position (n - 1) * q in the sorted values. The median is the mean of
// the two middle values of an even count. Reorders `values`; NaN when there are none.
double Quantile(std::span<double> values, double q);
double Median(std::span<double> values);

// The external noise factor Fa in dB of a field strength E in dB(uV/m) measured at f MHz in
// bandwidth B Hz: Fa = E - 20 log10 f - 10 log10 B + 98.9, the inverse of the reference
// curves' relation, so a reading on a reference curve gives that curve's Fa.
double NoiseFactorDb(double fieldDbuVm, double freqMHz, double bandwidthHz);

}  // namespace fw
