#include "rig/sweep.h"

#include <cmath>

#include "model/levels.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"

namespace fw::rig {

std::vector<RigTarget> AllBandTargets() {
    std::vector<RigTarget> targets;
    for (const BandEntry& b : BandTable) targets.push_back(RigTarget::Band(std::string(b.text)));
    return targets;
}

std::vector<RigTarget> BandTargets(std::string_view commaList) {
    std::vector<RigTarget> targets;
    std::size_t start = 0;
    while (start <= commaList.size()) {
        const auto comma = std::min(commaList.find(',', start), commaList.size());
        const std::string band(commaList.substr(start, comma - start));
        if (band.empty()) throw ReadingInputError("the band list has an empty item");
        CheckBand(band);
        targets.push_back(RigTarget::Band(band));
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

TuningGuard::TuningGuard(RigControl& rig) : rig_(rig), home_(ReadTuning(rig)), left_(home_) {}

TuningGuard::~TuningGuard() {
    restore();
}

void TuningGuard::setFrequencyHz(double hz) {
    moved_ = true;
    rig_.setFrequencyHz(hz);
    left_.frequencyHz = hz;
}

void TuningGuard::setMode(const RigMode& mode) {
    moved_ = true;
    rig_.setMode(mode);
    left_.mode = mode;
}

std::string TuningGuard::restore() {
    if (!moved_) return {};
    moved_ = false;
    return RestoreTuning(rig_, home_, left_);
}

namespace {

std::string StepText(const ResolvedTarget& where, const std::string& mode, char sep) {
    std::string text = where.label;
    if (!where.target.band.empty())
        text += ": " + ExactNumberText(where.frequencyMHz, sep) + " MHz";
    return text + " " + mode;
}

}  // namespace

SweepResult RunSweep(RigControl& rig, const SweepPlan& plan, const SweepCallbacks& callbacks,
                     const Pacing& pacing, char sep) {
    CheckSweepPlan(plan, sep);
    std::vector<ResolvedTarget> targets;
    for (const RigTarget& t : plan.targets) targets.push_back(ResolveTarget(t, plan.reading, sep));

    SweepResult result;
    std::size_t index = 0;
    try {
        CheckStop(pacing);
        TuningGuard guard(rig);
        RigControl& tuned = guard;  // every call of the sweep goes through the guard
        try {
            for (; index < targets.size(); ++index) {
                const ResolvedTarget& where = targets[index];
                const std::string mode = ModeFor(plan.modes, where.target.band, where.frequencyMHz);
                if (callbacks.progress)
                    callbacks.progress({index, targets.size(), StepText(where, mode, sep)});
                CheckStop(pacing);
                tuned.setFrequencyHz(std::round(where.frequencyMHz * 1e6));
                CheckStop(pacing);
                tuned.setMode(RigMode{mode, 0});
                Wait(pacing, plan.settle);
                result.readings.push_back(TakeReading(tuned, where, plan.reading, pacing, sep));
                if (callbacks.reading) callbacks.reading(result.readings.back());
            }
        } catch (const Cancelled&) {
            result.cancelled = true;
        } catch (const std::exception& e) {
            // A call that a stop cut short is the stop, not a failure of the rig.
            if (pacing.stop.stop_requested()) {
                result.cancelled = true;
            } else {
                result.failedIndex = index;
                result.failureReason = e.what();
                result.failure = "Sweep stopped at " + targets[index].label + ": " + e.what();
            }
        }
        result.restoreFailure = guard.restore();
    } catch (const Cancelled&) {
        result.cancelled = true;
    } catch (const std::exception& e) {
        // The rig's own tuning could not be read: nothing was changed.
        result.failureReason = e.what();
        result.failure = "Sweep not started: " + result.failureReason;
    }
    return result;
}

}  // namespace fw::rig
