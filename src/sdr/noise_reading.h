#pragma once
// A measured noise floor turned into a measurement: the antenna power
// P = 10*log10(N0 * B) + reference level + the band's calibration offset, entered through
// the ordinary entry path as an "AntPwr" row, as a typed entry of P would be; a receiver
// reading with the SDR's details.
#include <string>
#include <vector>

#include "measure/entry.h"
#include "noisefloor/noise_floor.h"
#include "signature/noise_signature.h"
#include "receiver/reading.h"
#include "rig/reading.h"

namespace fw::sdr {

// `where` was resolved against `plan` (its gain and bandwidth are valid). Throws
// rig::ReadingInputError when the entry path refuses the level.
receiver::Reading MakeNoiseReading(const receiver::ResolvedTarget& where, const NoiseFloor& floor,
                              std::vector<SpectrumBin> spectrum, double refDbm,
                              const rig::ReadingPlan& plan, char sep);

// "N0 -152.31 dBFS/Hz, K 61, N 32768, 26206 bins, occupancy 3.2 %": what stands beside the
// row on standard error and in the window's status; a percentile other than the 20th and an
// allowed overload are added.
std::string NoiseSummary(const NoiseFloor& floor);

// The used bins as CSV, "freq_hz,density_dbfs_hz" and one line per bin, with a point.
std::string SpectrumCsv(const std::vector<SpectrumBin>& bins);

}  // namespace fw::sdr
