#pragma once
// SIGINT and SIGTERM as a stop request, for commands that run until the user stops them.
#include <atomic>
#include <csignal>
#include <stop_token>
#include <thread>

namespace fw::cli {

// While alive, the two signals are blocked in every thread and taken by a thread of its own,
// which requests the stop; the work sees it at its next check, so it can finish what it
// holds and end normally. Create it before any other thread, so that they inherit the mask.
class SignalStop {
  public:
    SignalStop();
    ~SignalStop();
    SignalStop(const SignalStop&) = delete;
    SignalStop& operator=(const SignalStop&) = delete;

    std::stop_token token() const { return stop_.get_token(); }
    // The signal that requested the stop, 0 while none came.
    int signal() const { return signal_; }

  private:
    std::stop_source stop_;
    std::atomic<int> signal_{0};
    std::atomic<bool> done_{false};
    sigset_t previousMask_{};
    std::thread watcher_;
};

}  // namespace fw::cli
