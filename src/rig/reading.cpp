#include "rig/reading.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "libs/median.h"
#include "libs/real_text.h"
#include "model/levels.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"

namespace fw::rig {

double AntennaVoltageDbuV(double strengthDb, double offsetDb) {
    return MicrovoltToDbuv(SUnitsToMicrovolt(9)) + strengthDb + offsetDb;
}

std::string OffsetBandFor(std::string_view band, double fMHz) {
    if (!band.empty() || fMHz <= 0) return std::string(band);
    const BandEntry* nearest = &BandTable.front();
    for (const BandEntry& b : BandTable)
        if (std::abs(std::log(fMHz / b.frequencyMHz)) <
            std::abs(std::log(fMHz / nearest->frequencyMHz)))
            nearest = &b;
    return std::string(nearest->text);
}

double OffsetFor(const CalibrationOffsets& offsets, std::string_view band) {
    const auto it = offsets.find(band);
    return it == offsets.end() ? 0.0 : it->second;
}

namespace {

EntryInputs InputsFor(const receiver::Target& target, std::string level, const ReadingPlan& plan,
                      char sep, EntryMethod method = EntryMethod::AntennaVoltage) {
    EntryInputs in;
    in.band = target.band.empty() ? std::string("80m") : target.band;
    in.freeFrequency = target.band.empty();
    in.frequency = target.frequencyMHz;
    in.method = method;
    (method == EntryMethod::AntennaPower ? in.antennaPower : in.antennaVoltage) = std::move(level);
    in.gain = plan.gain.empty() ? DefaultGainText(sep) : plan.gain;
    in.bandwidth = plan.bandwidth;
    return in;
}

std::string CalibrationWhat(std::string_view band) {
    return "the calibration of " + std::string(band);
}

}  // namespace

void CheckBand(std::string_view band) {
    const bool known = std::any_of(BandTable.begin(), BandTable.end(),
                                   [&](const BandEntry& b) { return b.text == band; });
    if (!known) throw ReadingInputError("unknown band " + std::string(band));
}

CalibrationOffsets ParseCalibrationOffsets(std::string_view text, char sep) {
    CalibrationOffsets offsets;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = std::min(text.find(';', start), text.size());
        const std::string_view item = text.substr(start, end - start);
        const auto eq = item.find('=');
        const auto db =
            eq == std::string_view::npos ? std::nullopt : ParseRealText(item.substr(eq + 1), sep);
        if (!db)
            throw ReadingInputError(WithSeparatorName(
                "calibration \"" + std::string(item) +
                    "\" must be written BAND=DB! Use Komma as decimal separator!",
                sep));
        const std::string_view band = item.substr(0, eq);
        CheckBand(band);
        CheckWithin(CalibrationDbLimits, *db, CalibrationWhat(band), "dB", item.substr(eq + 1),
                    sep);
        if (!offsets.emplace(std::string(band), *db).second)
            throw ReadingInputError("calibration names " + std::string(band) + " twice");
        start = end + 1;
    }
    return offsets;
}

void CheckCalibrationOffsets(const CalibrationOffsets& offsets, char sep) {
    for (const auto& [band, db] : offsets) {
        CheckBand(band);
        CheckWithin(CalibrationDbLimits, db, CalibrationWhat(band), "dB", ExactNumberText(db, sep),
                    sep);
    }
}

receiver::ResolvedTarget ResolveTarget(const receiver::Target& target, const ReadingPlan& plan, char sep) {
    if (!target.band.empty()) CheckBand(target.band);
    // A frequency the diagram cannot show is refused before the entry would divide by it.
    if (double typed = 0; target.band.empty() && ParseRealText(target.frequencyMHz, sep, typed))
        CheckWithin(FrequencyMHzLimits, typed, "the frequency", "MHz", target.frequencyMHz, sep);
    const EntryInputs in = InputsFor(target, "0", plan, sep);
    // Gain and bandwidth first: a gain far out of range would otherwise be refused as the
    // field strength it gives, without naming the gain.
    CheckGainText(in.gain, sep);
    CheckedBandwidthHz(in.bandwidth, sep);
    const EntryResult check = EvaluateEntry(in, sep);
    if (const auto* failure = std::get_if<EntryFailure>(&check))
        throw ReadingInputError(failure->message.text);
    const MeasRow& row = std::get<EntryAccepted>(check).row;
    const std::string label = target.band.empty() ? target.frequencyMHz + " MHz" : target.band;
    return receiver::ResolvedTarget{target, row.freqMHz, label, OffsetBandFor(target.band, row.freqMHz)};
}

namespace {

EntryAccepted LevelEntry(const receiver::ResolvedTarget& where, EntryMethod method, double level,
                         const ReadingPlan& plan, char sep) {
    EntryResult result =
        EvaluateEntry(InputsFor(where.target, ExactNumberText(level, sep), plan, sep, method), sep);
    if (auto* failure = std::get_if<EntryFailure>(&result))
        throw ReadingInputError(failure->message.text);
    return std::move(std::get<EntryAccepted>(result));
}

}  // namespace

EntryAccepted ReadingEntry(const receiver::ResolvedTarget& where, double dbuv, const ReadingPlan& plan,
                           char sep) {
    return LevelEntry(where, EntryMethod::AntennaVoltage, dbuv, plan, sep);
}

EntryAccepted PowerEntry(const receiver::ResolvedTarget& where, double dbm, const ReadingPlan& plan,
                         char sep) {
    return LevelEntry(where, EntryMethod::AntennaPower, dbm, plan, sep);
}

Reading TakeReading(RigControl& rig, const receiver::ResolvedTarget& where, const ReadingPlan& plan,
                    const Pacing& pacing, char sep) {
    receiver::RigDetails d;
    const int count = std::max(plan.samples, 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0) Wait(pacing, plan.interval);
        CheckStop(pacing);
        d.samples.push_back(rig.strengthDb());
    }
    std::vector<double> reordered = d.samples;  // the samples stay in the order read
    d.strengthDb = Median(reordered);
    const double offsetDb = OffsetFor(plan.offsets, where.offsetBand);
    d.antVoltDbuV = AntennaVoltageDbuV(d.strengthDb, offsetDb);
    EntryAccepted entry = ReadingEntry(where, d.antVoltDbuV, plan, sep);
    return Reading{where, offsetDb, std::move(entry), std::move(d)};
}

std::string ReadingFailureText(std::string_view where, std::string_view reason) {
    return "The S-meter could not be read at " + std::string(where) + ": " + std::string(reason);
}

Reading ReadHere(RigControl& rig, const ReadingPlan& plan, const Pacing& pacing, char sep) {
    CheckStop(pacing);
    const double hz = rig.frequencyHz();
    const receiver::ResolvedTarget where =
        ResolveTarget(receiver::Target::Free(ExactNumberText(hz / 1e6, sep)), plan, sep);
    return TakeReading(rig, where, plan, pacing, sep);
}

}  // namespace fw::rig
