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

TuningGuard::TuningGuard(RigControl& rig)
    : rig_(rig), frequencyHz_(rig.frequencyHz()), mode_(rig.mode()) {}

TuningGuard::~TuningGuard() {
    restore();
}

std::string TuningGuard::restore() {
    if (restored_) return {};
    restored_ = true;
    try {
        rig_.setFrequencyHz(frequencyHz_);
        rig_.setMode(mode_);
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
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
        try {
            for (; index < targets.size(); ++index) {
                const ResolvedTarget& where = targets[index];
                const std::string mode = ModeFor(plan.modes, where.target.band, where.frequencyMHz);
                if (callbacks.progress)
                    callbacks.progress({index, targets.size(), StepText(where, mode, sep)});
                CheckStop(pacing);
                rig.setFrequencyHz(std::round(where.frequencyMHz * 1e6));
                CheckStop(pacing);
                rig.setMode(RigMode{mode, 0});
                Wait(pacing, plan.settle);
                result.readings.push_back(TakeReading(rig, where, plan.reading, pacing, sep));
                if (callbacks.reading) callbacks.reading(result.readings.back());
            }
        } catch (const Cancelled&) {
            result.cancelled = true;
        } catch (const std::exception& e) {
            result.failedIndex = index;
            result.failureReason = e.what();
            result.failure = "Sweep stopped at " + targets[index].label + ": " + e.what();
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
