#include "rig/daemon_check.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "rig/pacing.h"
#include "rig/rig_error.h"
#include "rig/tcp_probe.h"

namespace fw::rig {

namespace {

// rigctld answers this itself ("0"), without a call to the rig.
constexpr char Question[] = "\\chk_vfo\n";

}  // namespace

void DaemonCheck::check(const RigctldAddress& address, int timeoutMs, const std::stop_token& stop) {
    // rigctld 4.5 drops a connection it accepted while a leaving client's descriptor was
    // closed twice: a dropped one is tried again, afresh.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (stop.stop_requested()) throw Cancelled();
        ask(address, timeoutMs);
        switch (answer(timeoutMs, stop)) {
            case Answer::Given:
                return;
            case Answer::Closed:
                continue;
            case Answer::None:
                if (stop.stop_requested()) throw Cancelled();
                throw RigError(NotRespondingText);
        }
    }
    throw RigError(RigctldUnreachableText(AddressText(address)));
}

void DaemonCheck::ask(const RigctldAddress& address, int timeoutMs) {
    if (!fd_.valid()) {
        fd_ = TcpConnect(address.host, address.port, timeoutMs);
        asked_ = false;
        if (!fd_.valid()) throw RigError(RigctldUnreachableText(AddressText(address)));
    }
    if (asked_) return;
    asked_ = send(fd_.get(), Question, sizeof Question - 1, MSG_NOSIGNAL) ==
             static_cast<ssize_t>(sizeof Question - 1);
    if (!asked_) fd_.reset();  // dropped already: answer() finds it closed
}

DaemonCheck::Answer DaemonCheck::answer(int timeoutMs, const std::stop_token& stop) {
    using namespace std::chrono;
    if (!fd_.valid()) return Answer::Closed;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    for (;;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        pollfd p{fd_.get(), POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::clamp(left, 0ms, WaitSlice).count()));
        if (ready > 0 || (ready < 0 && errno != EINTR)) {
            char text[64];
            if (ready > 0 && recv(fd_.get(), text, sizeof text, MSG_DONTWAIT) > 0)
                return Answer::Given;
            fd_.reset();
            return Answer::Closed;
        }
        if (stop.stop_requested() || left <= 0ms) return Answer::None;
    }
}

}  // namespace fw::rig
