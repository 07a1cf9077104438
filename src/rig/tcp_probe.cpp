#include "rig/tcp_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>

namespace fw::rig {

namespace {

struct AddrInfoFree {
    void operator()(addrinfo* a) const { freeaddrinfo(a); }
};

bool WaitFor(int fd, short events, int ms) {
    pollfd p{fd, events, 0};
    int ready;
    do {
        ready = poll(&p, 1, ms);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// One non-blocking connect, waited for at most `ms`.
UniqueFd ConnectWithin(const addrinfo& a, int ms) {
    UniqueFd s(socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol));
    if (!s.valid()) return {};
    if (connect(s.get(), a.ai_addr, a.ai_addrlen) == 0) return s;
    if (errno != EINPROGRESS || !WaitFor(s.get(), POLLOUT, ms)) return {};
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(s.get(), SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) return {};
    return s;
}

}  // namespace

UniqueFd TcpConnect(const std::string& host, int port, int timeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return {};
    const std::unique_ptr<addrinfo, AddrInfoFree> list(found);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (const addrinfo* a = list.get(); a; a = a->ai_next) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        if (UniqueFd s = ConnectWithin(*a, static_cast<int>(left.count())); s.valid()) return s;
    }
    return {};
}

std::string NumericHost(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) return host;
    const std::unique_ptr<addrinfo, AddrInfoFree> list(found);
    const addrinfo* chosen = list.get();
    for (const addrinfo* a = list.get(); a; a = a->ai_next)
        if (a->ai_family == AF_INET && chosen->ai_family != AF_INET) chosen = a;
    char text[NI_MAXHOST];
    if (getnameinfo(chosen->ai_addr, chosen->ai_addrlen, text, sizeof text, nullptr, 0,
                    NI_NUMERICHOST) != 0)
        return host;
    return text;
}

}  // namespace fw::rig
