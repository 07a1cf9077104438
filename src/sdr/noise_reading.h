#pragma once
// A measured noise floor turned into a measurement: the antenna power
// P = 10*log10(N0 * B) + reference level + the band's calibration offset, entered through
// the ordinary entry path as an "AntPwr" row, as a typed entry of P would be.
#include <string>
#include <vector>

#include "measure/entry.h"
#include "noisefloor/noise_floor.h"
#include "signature/noise_signature.h"
#include "rig/reading.h"

namespace fw::sdr {

struct NoiseReading {
    rig::ResolvedTarget where;
    NoiseFloor floor;
    std::vector<SpectrumBin> spectrum;  // the used bins, for the spectrum view and its CSV
    double refDbm = 0;
    double offsetDb = 0;
    double antPowerDbm = 0;
    EntryAccepted entry;
    Outcome<NoiseSignature> signature = Outcome<NoiseSignature>::Fail("no samples");
    long overflows = 0;  // a live capture's dropped blocks and empty reads
    long timeouts = 0;
};

// `where` was resolved against `plan` (its gain and bandwidth are valid). Throws
// rig::ReadingInputError when the entry path refuses the level.
NoiseReading MakeNoiseReading(const rig::ResolvedTarget& where, const NoiseFloor& floor,
                              std::vector<SpectrumBin> spectrum, double refDbm,
                              const rig::ReadingPlan& plan, char sep);

// "N0 -152.31 dBFS/Hz, K 61, N 32768, 26206 bins, occupancy 3.2 %": what stands beside the
// row on standard error and in the window's status; a percentile other than the 20th and an
// allowed overload are added.
std::string NoiseSummary(const NoiseFloor& floor);

// The used bins as CSV, "freq_hz,density_dbfs_hz" and one line per bin, with a point.
std::string SpectrumCsv(const std::vector<SpectrumBin>& bins);

}  // namespace fw::sdr
