#include "rig/sweep.h"

#include <cmath>

#include "model/levels.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"
#include "rig/rig_receiver.h"

namespace fw::rig {

std::vector<receiver::Target> AllBandTargets() {
    std::vector<receiver::Target> targets;
    for (const BandEntry& b : BandTable) targets.push_back(receiver::Target::Band(std::string(b.text)));
    return targets;
}

std::vector<receiver::Target> BandTargets(std::string_view commaList) {
    std::vector<receiver::Target> targets;
    std::size_t start = 0;
    while (start <= commaList.size()) {
        const auto comma = std::min(commaList.find(',', start), commaList.size());
        const std::string band(commaList.substr(start, comma - start));
        if (band.empty()) throw ReadingInputError("the band list has an empty item");
        CheckBand(band);
        targets.push_back(receiver::Target::Band(band));
        start = comma + 1;
    }
    return targets;
}

Tuning ReadTuning(RigControl& rig) {
    const double hz = rig.frequencyHz();
    return Tuning{hz, rig.mode()};
}

std::string TuningText(const Tuning& tuning) {
    std::string text = std::to_string(std::llround(tuning.frequencyHz)) + " Hz " + tuning.mode.name;
    if (tuning.mode.passbandHz > 0) text += " " + std::to_string(tuning.mode.passbandHz) + " Hz";
    return text;
}

std::string RestoreTuning(RigControl& rig, const Tuning& home, Tuning& left) {
    std::string why;
    try {
        rig.setFrequencyHz(home.frequencyHz);
        left.frequencyHz = home.frequencyHz;
    } catch (const std::exception& e) {
        why = e.what();
    }
    try {
        rig.setMode(home.mode);
        left.mode = home.mode;
    } catch (const std::exception& e) {
        if (why.empty()) why = e.what();
    }
    if (why.empty()) return {};
    return NotRestoredText(why, left, home);
}

std::string NotRestoredText(const std::string& why, const Tuning& left, const Tuning& home) {
    // The last tuning the rig confirmed is its starting one when the call that failed was
    // the first change: the rig may have taken it all the same.
    if (TuningText(left) == TuningText(home))
        return why + "; the rig may not be back at " + TuningText(home);
    return why + "; the rig is left at " + TuningText(left) + " instead of " + TuningText(home);
}

namespace {

std::string StepText(const receiver::ResolvedTarget& where, const std::string& mode, char sep) {
    std::string text = where.label;
    if (!where.target.band.empty())
        text += ": " + ExactNumberText(where.frequencyMHz, sep) + " MHz";
    return text + " " + mode;
}

}  // namespace

SweepResult RunSweep(RigControl& rig, const SweepPlan& plan, const SweepCallbacks& callbacks,
                     const Pacing& pacing, char sep) {
    CheckSweepPlan(plan, sep);
    std::vector<receiver::ResolvedTarget> targets;
    for (const receiver::Target& t : plan.targets)
        targets.push_back(ResolveTarget(t, plan.reading, sep));
    RigReceiver receiver(rig, plan, sep, pacing.sleep);
    const auto step = [&](std::size_t index, std::size_t count) {
        if (!callbacks.progress) return;
        const receiver::ResolvedTarget& where = targets[index];
        const std::string mode = ModeFor(plan.modes, where.target.band, where.frequencyMHz);
        callbacks.progress({index, count, StepText(where, mode, sep)});
    };
    return receiver::RunSweep(receiver, targets, pacing.stop, callbacks.reading, step);
}

}  // namespace fw::rig
