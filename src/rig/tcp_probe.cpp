#include "rig/tcp_probe.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
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

// An address in the canonical form of ConnectedPeer.
std::string CanonicalAddress(const sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address->sa_family == AF_INET6) {
        const in6_addr& a = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        if (IN6_IS_ADDR_LOOPBACK(&a)) return "loopback";
        if (!IN6_IS_ADDR_V4MAPPED(&a)) return inet_ntop(AF_INET6, &a, text, sizeof text);
        in_addr v4;
        std::memcpy(&v4, a.s6_addr + 12, sizeof v4);
        if ((ntohl(v4.s_addr) >> 24) == 127) return "loopback";
        return inet_ntop(AF_INET, &v4, text, sizeof text);
    }
    const in_addr& v4 = reinterpret_cast<const sockaddr_in*>(address)->sin_addr;
    if ((ntohl(v4.s_addr) >> 24) == 127) return "loopback";
    return inet_ntop(AF_INET, &v4, text, sizeof text);
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

Peer ConnectedPeer(const std::string& host, int port, int timeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
        return {host, {}};
    const std::unique_ptr<addrinfo, AddrInfoFree> list(found);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (const addrinfo* a = list.get(); a; a = a->ai_next) {
        if (a->ai_family != AF_INET && a->ai_family != AF_INET6) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        UniqueFd s = ConnectWithin(*a, static_cast<int>(left.count()));
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        if (s.valid() && getpeername(s.get(), reinterpret_cast<sockaddr*>(&peer), &length) == 0)
            return {CanonicalAddress(reinterpret_cast<sockaddr*>(&peer)), std::move(s)};
    }
    const addrinfo* first = list.get();
    if (first->ai_family != AF_INET && first->ai_family != AF_INET6) return {host, {}};
    return {CanonicalAddress(first->ai_addr), {}};
}

}  // namespace fw::rig
