#include "receiver/sweep.h"

#include "receiver/receiver_error.h"

namespace fw::receiver {

SweepResult RunSweep(Receiver& receiver, const std::vector<ResolvedTarget>& targets,
                     std::stop_token stop, const ReadingShown& onReading,
                     const StepShown& onStep) {
    SweepResult result;
    try {
        if (stop.stop_requested()) throw Cancelled();
        receiver.begin(stop);
    } catch (const Cancelled&) {
        result.cancelled = true;
        return result;
    } catch (const std::exception& e) {
        // The receiver did not answer: nothing was changed.
        result.failureReason = e.what();
        result.failure = "Sweep not started: " + result.failureReason;
        return result;
    }
    std::size_t index = 0;
    try {
        for (; index < targets.size(); ++index) {
            if (onStep) onStep(index, targets.size());
            if (stop.stop_requested()) throw Cancelled();
            receiver.tune(targets[index], stop);
            result.readings.push_back(receiver.read(targets[index], stop));
            if (onReading) onReading(result.readings.back());
        }
    } catch (const Cancelled&) {
        result.cancelled = true;
    } catch (const std::exception& e) {
        // A call that a stop cut short is the stop, not a failure of the receiver.
        if (stop.stop_requested()) {
            result.cancelled = true;
        } else {
            result.failedIndex = index;
            result.failureReason = e.what();
            result.failure = "Sweep stopped at " + targets[index].label + ": " + e.what();
        }
    }
    result.restoreFailure = receiver.restore();
    return result;
}

}  // namespace fw::receiver
