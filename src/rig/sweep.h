#pragma once
// A rig's sweep: for each target, tune the rig (frequency, then mode by the mode rule), let it
// settle, take a reading, as receiver::RunSweep runs it over a RigReceiver. The rig's own
// frequency and mode are put back afterwards, also after a failure or a cancel. Runs on the
// calling thread; meant for a worker thread.
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "receiver/sweep.h"
#include "rig/mode_rule.h"
#include "rig/pacing.h"
#include "rig/reading.h"
#include "rig/rig_control.h"

namespace fw::rig {

// The thirteen bands of the band table, in its order.
std::vector<receiver::Target> AllBandTargets();

// "80m,40m,20m" -> band targets; throws ReadingInputError naming an unknown band or an
// empty item.
std::vector<receiver::Target> BandTargets(std::string_view commaList);

struct SweepPlan {
    std::vector<receiver::Target> targets = AllBandTargets();
    ModeRule modes;
    std::chrono::milliseconds settle{300};  // after tuning, before the first sample
    ReadingPlan reading;
};

struct SweepProgress {
    std::size_t index;  // of the target being worked on, 0-based
    std::size_t count;  // of targets
    std::string text;   // "20m: 14,175 MHz USB"
};

struct SweepCallbacks {
    std::function<void(const SweepProgress&)> progress;  // before each target
    std::function<void(const Reading&)> reading;         // after each finished reading
};

using receiver::SweepResult;

// A rig's frequency and mode.
struct Tuning {
    double frequencyHz = 0;
    RigMode mode;
};

// Reads them; throws RigError.
Tuning ReadTuning(RigControl& rig);

// "7030000 Hz CW 500 Hz", "14175000 Hz USB" (the rig's normal passband).
std::string TuningText(const Tuning& tuning);

// "WHY; the rig is left at LEFT instead of HOME", or "WHY; the rig may not be back at HOME"
// where LEFT, the last tuning the rig confirmed, is HOME.
std::string NotRestoredText(const std::string& why, const Tuning& left, const Tuning& home);

// Sets the frequency and then the mode of `home`; the mode also when the frequency was
// refused. `left` is where the rig was tuned before and follows each call that succeeds.
// Empty on success, else NotRestoredText.
std::string RestoreTuning(RigControl& rig, const Tuning& home, Tuning& left);

// Checks every target and the reading plan first (throws ReadingInputError before any rig
// call), then sweeps. Rig failures, cancels and restore failures end up in the result, with
// the readings taken until then.
SweepResult RunSweep(RigControl& rig, const SweepPlan& plan, const SweepCallbacks& callbacks,
                     const Pacing& pacing, char sep);

}  // namespace fw::rig
