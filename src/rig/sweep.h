#pragma once
// A sweep: for each target, tune the rig (frequency, then mode by the mode rule), let it
// settle, take a reading. The rig's own frequency and mode are put back afterwards, also
// after a failure or a cancel. Runs on the calling thread; meant for a worker thread.
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rig/mode_rule.h"
#include "rig/pacing.h"
#include "rig/reading.h"
#include "rig/rig_control.h"

namespace fw::rig {

// The thirteen bands of the band table, in its order.
std::vector<RigTarget> AllBandTargets();

// "80m,40m,20m" -> band targets; throws ReadingInputError naming an unknown band or an
// empty item.
std::vector<RigTarget> BandTargets(std::string_view commaList);

struct SweepPlan {
    std::vector<RigTarget> targets = AllBandTargets();
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

struct SweepResult {
    std::vector<Reading> readings;  // every reading taken, in sweep order
    bool cancelled = false;
    // When a rig call failed: the target that failed, the text "Sweep stopped at 20m: ..."
    // and its reason alone (the "...").
    std::optional<std::size_t> failedIndex;
    std::string failure;
    std::string failureReason;
    // Why the rig's frequency and mode could not be put back and where it was left (see
    // RestoreTuning); empty when they were.
    std::string restoreFailure;

    bool complete() const { return !cancelled && failure.empty(); }
};

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

// Stands between a sweep and the rig: remembers the rig's frequency and mode when created,
// follows where the sweep tunes it, and puts them back on restore() or destruction.
class TuningGuard final : public RigControl {
  public:
    explicit TuningGuard(RigControl& rig);  // reads them; throws RigError
    ~TuningGuard() override;
    TuningGuard(const TuningGuard&) = delete;
    TuningGuard& operator=(const TuningGuard&) = delete;

    double frequencyHz() override { return rig_.frequencyHz(); }
    void setFrequencyHz(double hz) override;
    RigMode mode() override { return rig_.mode(); }
    void setMode(const RigMode& mode) override;
    double strengthDb() override { return rig_.strengthDb(); }

    // Puts them back (once, and only where the rig was retuned); as RestoreTuning.
    std::string restore();

  private:
    RigControl& rig_;
    Tuning home_;
    Tuning left_;
    bool moved_ = false;
};

// Checks every target and the reading plan first (throws ReadingInputError before any rig
// call), then sweeps. Rig failures, cancels and restore failures end up in the result, with
// the readings taken until then.
SweepResult RunSweep(RigControl& rig, const SweepPlan& plan, const SweepCallbacks& callbacks,
                     const Pacing& pacing, char sep);

}  // namespace fw::rig
