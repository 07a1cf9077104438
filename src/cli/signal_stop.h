#pragma once
// SIGINT, SIGTERM and SIGHUP as a stop request, for commands that run until the user stops
// them.
#include <atomic>
#include <csignal>
#include <stop_token>
#include <thread>

namespace fw::cli {

// While alive, the signals are blocked in every thread and taken by a thread of its own,
// which requests the stop; the work sees it at its next check, so it can put back what it
// holds and end normally. A second signal requests the hurry too: what is still tried on
// the way out is tried once, without waiting. Create it before any other thread, so that
// they inherit the mask.
class SignalStop {
  public:
    SignalStop();
    ~SignalStop();
    SignalStop(const SignalStop&) = delete;
    SignalStop& operator=(const SignalStop&) = delete;

    std::stop_token token() const { return stop_.get_token(); }
    std::stop_token hurryToken() const { return hurry_.get_token(); }
    // The signal that requested the stop, 0 while none came.
    int signal() const { return signal_; }
    // A stop as a signal would request it, for an end the work found itself (a closed
    // standard output).
    void requestStop() { stop_.request_stop(); }

  private:
    std::stop_source stop_;
    std::stop_source hurry_;
    std::atomic<int> signal_{0};
    std::atomic<bool> done_{false};
    sigset_t previousMask_{};
    std::thread watcher_;
};

}  // namespace fw::cli
