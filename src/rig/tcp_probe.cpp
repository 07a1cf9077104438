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

class Socket {
  public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

bool WaitFor(int fd, short events, int ms) {
    pollfd p{fd, events, 0};
    int ready;
    do {
        ready = poll(&p, 1, ms);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// One non-blocking connect, waited for at most `ms`, then the farewell; then up to `ms` more
// for the peer to hang up, so that it is done with this connection before the next one.
bool ConnectWithin(const addrinfo& a, int ms, std::string_view farewell) {
    Socket s(socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol));
    if (s.fd() < 0) return false;
    if (connect(s.fd(), a.ai_addr, a.ai_addrlen) != 0) {
        if (errno != EINPROGRESS || !WaitFor(s.fd(), POLLOUT, ms)) return false;
        int error = 0;
        socklen_t len = sizeof error;
        if (getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) return false;
    }
    if (send(s.fd(), farewell.data(), farewell.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(farewell.size()))
        return false;
    char sink[256];
    while (WaitFor(s.fd(), POLLIN, ms) && read(s.fd(), sink, sizeof sink) > 0) {
    }
    return true;
}

}  // namespace

bool TcpAccepts(const std::string& host, int port, int timeoutMs, std::string_view farewell) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
    const std::unique_ptr<addrinfo, AddrInfoFree> list(found);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (const addrinfo* a = list.get(); a; a = a->ai_next) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        if (ConnectWithin(*a, static_cast<int>(left.count()), farewell)) return true;
    }
    return false;
}

}  // namespace fw::rig
