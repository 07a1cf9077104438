#pragma once
// One reading of a receiver: where it was made, the calibration applied, the measurement row
// it gives through the ordinary entry path, and what the source adds of its own.
#include <variant>
#include <vector>

#include "measure/entry.h"
#include "model/outcome.h"
#include "noisefloor/noise_floor.h"
#include "receiver/target.h"
#include "signature/noise_signature.h"

namespace fw::receiver {

// A rig's S-meter reading: the samples, their median as dB over S9 and the antenna voltage
// 20*log10(50) + median + calibration offset in dBuV, entered as an "AntVol" row.
struct RigDetails {
    std::vector<double> samples;  // dB over S9, as read
    double strengthDb = 0;        // their median
    double antVoltDbuV = 0;
};

// An SDR's noise measurement: the antenna power P = 10*log10(N0 * B) + reference level +
// calibration offset, entered as an "AntPwr" row, with the estimate behind it.
struct SdrDetails {
    NoiseFloor floor;
    std::vector<SpectrumBin> spectrum;  // the used bins, for the spectrum view and its CSV
    double refDbm = 0;
    double antPowerDbm = 0;
    Outcome<NoiseSignature> signature = Outcome<NoiseSignature>::Fail("no samples");
    long overflows = 0;  // a live capture's dropped blocks and empty reads
    long timeouts = 0;
};

struct Reading {
    ResolvedTarget where;
    double offsetDb = 0;  // the band's calibration offset, applied
    EntryAccepted entry;  // the row and field texts of the equal typed entry
    std::variant<RigDetails, SdrDetails> details;

    // The details of the source that made the reading; std::bad_variant_access for the other.
    const RigDetails& rig() const { return std::get<RigDetails>(details); }
    const SdrDetails& sdr() const { return std::get<SdrDetails>(details); }
    bool fromSdr() const { return std::holds_alternative<SdrDetails>(details); }
};

}  // namespace fw::receiver
