#include "cli/signal_stop.h"

#include <pthread.h>

#include <cerrno>
#include <ctime>

namespace fw::cli {

namespace {

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

SignalStop::SignalStop() {
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &previousMask_);
    watcher_ = std::thread([this, signals] {
        // Waits in slices so the destructor's request to end is seen promptly.
        const timespec slice{0, 100'000'000};
        while (!done_) {
            const int s = sigtimedwait(&signals, nullptr, &slice);
            if (s <= 0) continue;  // timeout or interrupted
            if (signal_ != 0) hurry_.request_stop();
            signal_ = s;
            stop_.request_stop();
        }
    });
}

SignalStop::~SignalStop() {
    done_ = true;
    watcher_.join();
    // A signal that came after the watcher ended is delivered now, with its usual effect.
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

}  // namespace fw::cli
