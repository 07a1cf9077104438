#pragma once
// How rig work waits and how it is cancelled, so it can run on a worker thread and tests
// need not sleep.
#include <chrono>
#include <exception>
#include <functional>
#include <stop_token>

namespace fw::rig {

// Waits are cut into slices of at most this length; a stop request is seen after each.
inline constexpr std::chrono::milliseconds WaitSlice{50};

struct Pacing {
    // A stop request ends the work at the next check: between rig calls and within one
    // wait slice. A rig call in progress ends within its timeout, or when a StopGrace cuts
    // its session.
    std::stop_token stop;
    // Sleeps for one slice; empty sleeps the calling thread. Tests pass a recorder.
    std::function<void(std::chrono::milliseconds)> sleep;
};

// Thrown out of a wait or check when a stop was requested.
class Cancelled : public std::exception {
  public:
    const char* what() const noexcept override { return "cancelled"; }
};

// Throws Cancelled when a stop was requested.
void CheckStop(const Pacing& pacing);

// Waits `total` in slices of at most WaitSlice, checking for a stop before each.
void Wait(const Pacing& pacing, std::chrono::milliseconds total);

}  // namespace fw::rig
