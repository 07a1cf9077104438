#pragma once
// A sweep of an open receiver: each target tuned and read in turn, the receiver's tuning put
// back afterwards, also after a failure or a stop. Runs on the calling thread.
#include <cstddef>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "receiver/reading.h"
#include "receiver/receiver.h"

namespace fw::receiver {

struct SweepResult {
    std::vector<Reading> readings;  // every reading taken, in sweep order
    bool cancelled = false;
    // When a call failed: the target that failed (none when the receiver did not answer
    // before the first), the text "Sweep stopped at 20m: ..." or "Sweep not started: ..." and
    // its reason alone (the "...").
    std::optional<std::size_t> failedIndex;
    std::string failure;
    std::string failureReason;
    // Why the receiver's tuning could not be put back and where it was left; empty when it was.
    std::string restoreFailure;

    bool complete() const { return !cancelled && failure.empty(); }
};

using ReadingShown = std::function<void(const Reading&)>;
// Told before each target is tuned: its index (0-based) and the number of targets.
using StepShown = std::function<void(std::size_t index, std::size_t count)>;

// Begins, then tunes and reads each target, handing each reading to `onReading` as it is
// taken; restores at the end. Failures and stops end up in the result with the readings
// taken until then; a failure while `stop` is requested counts as the stop.
SweepResult RunSweep(Receiver& receiver, const std::vector<ResolvedTarget>& targets,
                     std::stop_token stop, const ReadingShown& onReading,
                     const StepShown& onStep = {});

}  // namespace fw::receiver
