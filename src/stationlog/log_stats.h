#pragma once
// The noise factor of logged readings.

namespace fw {

// The external noise factor Fa in dB of a field strength E in dB(uV/m) measured at f MHz in
// bandwidth B Hz: Fa = E - 20 log10 f - 10 log10 B + 98.9, the inverse of the reference
// curves' relation, so a reading on a reference curve gives that curve's Fa.
double NoiseFactorDb(double fieldDbuVm, double freqMHz, double bandwidthHz);

}  // namespace fw
