#pragma once
// One S-meter reading turned into a measurement row: N STRENGTH samples, their median as dB
// over S9, the antenna voltage 20*log10(50) + median + calibration offset in dBuV, entered
// through the ordinary entry path as an "AntVol" measurement.
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "measure/entry.h"
#include "measure/entry_limits.h"
#include "receiver/reading.h"
#include "receiver/target.h"
#include "rig/pacing.h"
#include "rig/rig_control.h"

namespace fw::rig {

using receiver::Reading;

// Calibration offset in dB per band text ("80m" -> -1.5); a band without one has 0.
using CalibrationOffsets = std::map<std::string, double, std::less<>>;

// "80m=-1,5;40m=2" (dB with the regional separator, items separated by ";"); an empty
// text gives none. Throws ReadingInputError for an unknown band, a band named twice, an
// unreadable number (naming the separator expected) or an offset outside its limits.
CalibrationOffsets ParseCalibrationOffsets(std::string_view text, char sep);
// Throws ReadingInputError for an unknown band or an offset outside its limits.
void CheckCalibrationOffsets(const CalibrationOffsets& offsets, char sep);

struct ReadingPlan {
    int samples = 5;
    std::chrono::milliseconds interval{200};  // between two samples
    CalibrationOffsets offsets;
    std::string gain;                // as typed in the gain field; empty: "2,15" (regional)
    std::string bandwidth = "2700";  // as typed in the bandwidth box, Hz
};

// 20*log10(50 uV) + strength over S9 + offset: S9 is 50 uV.
double AntennaVoltageDbuV(double strengthDb, double offsetDb);

using fw::ExactNumberText;

// A band's own offset; for a free frequency (band empty) the offset of the band nearest to
// fMHz on a logarithmic scale.
std::string OffsetBandFor(std::string_view band, double fMHz);
double OffsetFor(const CalibrationOffsets& offsets, std::string_view band);

// Throws ReadingInputError "unknown band X" for a text that is not in the band table.
void CheckBand(std::string_view band);

// Checks the target and the plan's gain and bandwidth as an entry of them would, and within
// the plan limits (frequency, gain, bandwidth); throws ReadingInputError with the entry's
// message, "unknown band X" or the range refused.
receiver::ResolvedTarget ResolveTarget(const receiver::Target& target, const ReadingPlan& plan, char sep);

// The row for a voltage at a target, exactly as a typed "AntVol" entry
// of ExactNumberText(dbuv) gives it.
EntryAccepted ReadingEntry(const receiver::ResolvedTarget& where, double dbuv, const ReadingPlan& plan,
                           char sep);
// The same for an antenna power in dBm, as a typed "AntPwr" entry (an SDR's noise reading).
EntryAccepted PowerEntry(const receiver::ResolvedTarget& where, double dbm, const ReadingPlan& plan,
                         char sep);

// Takes plan.samples STRENGTH samples where the rig is tuned now, plan.interval apart, and
// builds the row for `where`, with the rig's details. Throws RigError, Cancelled.
Reading TakeReading(RigControl& rig, const receiver::ResolvedTarget& where, const ReadingPlan& plan,
                    const Pacing& pacing, char sep);

// "The S-meter could not be read at 20m: rig not responding": a single reading's failure.
std::string ReadingFailureText(std::string_view where, std::string_view reason);

// A reading at the rig's present frequency, recorded as a free frequency; the rig is not
// retuned. Throws RigError, Cancelled, ReadingInputError.
Reading ReadHere(RigControl& rig, const ReadingPlan& plan, const Pacing& pacing, char sep);

}  // namespace fw::rig
