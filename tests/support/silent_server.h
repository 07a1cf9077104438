#pragma once
// A print server that takes connections and never answers.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace fw::testing {

// A local socket that takes connections into its backlog and never answers them.
class SilentServer {
  public:
    explicit SilentServer(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        listening_ = fd_ >= 0 &&
                     bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                     listen(fd_, 8) == 0;
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    ~SilentServer() {
        if (fd_ >= 0) close(fd_);
    }
    bool listening() const { return listening_; }
    // A client has connected (within `ms` milliseconds) and waits for an answer.
    bool called(int ms) const {
        pollfd p{fd_, POLLIN, 0};
        return listening_ && poll(&p, 1, ms) == 1;
    }

  private:
    int fd_;
    bool listening_ = false;
};

}  // namespace fw::testing
