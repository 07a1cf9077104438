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

// One non-blocking connect, waited for at most `ms`.
bool ConnectWithin(const addrinfo& a, int ms) {
    Socket s(socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol));
    if (s.fd() < 0) return false;
    if (connect(s.fd(), a.ai_addr, a.ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS) return false;
    pollfd p{s.fd(), POLLOUT, 0};
    int ready;
    do {
        ready = poll(&p, 1, ms);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return false;
    int error = 0;
    socklen_t len = sizeof error;
    return getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
}

}  // namespace

bool TcpAccepts(const std::string& host, int port, int timeoutMs) {
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
        if (ConnectWithin(*a, static_cast<int>(left.count()))) return true;
    }
    return false;
}

}  // namespace fw::rig
