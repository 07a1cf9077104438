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

void DaemonCheck::check(const RigctldAddress& address, int timeoutMs,
                        const std::stop_token& stop) {
    if (stop.stop_requested()) throw Cancelled();
    if (!fd_.valid()) {
        fd_ = TcpConnect(address.host, address.port, timeoutMs);
        asked_ = false;
        if (!fd_.valid()) throw RigError(RigctldUnreachableText(AddressText(address)));
    }
    if (!asked_) {
        asked_ = send(fd_.get(), Question, sizeof Question - 1, MSG_NOSIGNAL) ==
                 static_cast<ssize_t>(sizeof Question - 1);
        if (!asked_) {
            fd_.reset();
            throw RigError(RigctldUnreachableText(AddressText(address)));
        }
    }
    if (!answered(timeoutMs, stop)) {
        if (stop.stop_requested()) throw Cancelled();
        throw RigError(NotRespondingText);
    }
}

bool DaemonCheck::answered(int timeoutMs, const std::stop_token& stop) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    for (;;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        pollfd p{fd_.get(), POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::clamp(left, 0ms, WaitSlice).count()));
        if (ready > 0) {
            char answer[64];
            if (recv(fd_.get(), answer, sizeof answer, MSG_DONTWAIT) > 0) return true;
            fd_.reset();  // closed by the daemon: the next check connects afresh
            return false;
        }
        if (ready < 0 && errno != EINTR) {
            fd_.reset();
            return false;
        }
        if (stop.stop_requested() || left <= 0ms) return false;
    }
}

}  // namespace fw::rig
