#pragma once
// How receiver work waits and how it is cancelled, so it can run on a worker thread and
// tests need not sleep.
#include <chrono>
#include <functional>
#include <stop_token>

#include "receiver/receiver_error.h"

namespace fw::receiver {

// Waits are cut into slices of at most this length; a stop request is seen after each.
inline constexpr std::chrono::milliseconds WaitSlice{50};

struct Pacing {
    // A stop request ends the work at the next check: between device calls and within one
    // wait slice. A device call in progress ends within its own timeout, or where the
    // receiver can cut it.
    std::stop_token stop;
    // Sleeps for one slice; empty sleeps the calling thread. Tests pass a recorder.
    std::function<void(std::chrono::milliseconds)> sleep;
};

// Throws Cancelled when a stop was requested.
void CheckStop(const Pacing& pacing);

// Waits `total` in slices of at most WaitSlice, checking for a stop before each.
void Wait(const Pacing& pacing, std::chrono::milliseconds total);

}  // namespace fw::receiver
