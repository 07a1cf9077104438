#pragma once
// A print server that takes connections and never answers, and CUPS pointed at it.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QtGlobal>
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

// CUPS_SERVER set to `server` while it lives. CUPS reads it once per thread: only threads
// started meanwhile go there.
class CupsServerSetting {
  public:
    explicit CupsServerSetting(const std::string& server)
        : had_(qEnvironmentVariableIsSet("CUPS_SERVER")), saved_(qgetenv("CUPS_SERVER")) {
        qputenv("CUPS_SERVER", QByteArray::fromStdString(server));
    }
    CupsServerSetting(const CupsServerSetting&) = delete;
    CupsServerSetting& operator=(const CupsServerSetting&) = delete;
    ~CupsServerSetting() {
        if (had_)
            qputenv("CUPS_SERVER", saved_);
        else
            qunsetenv("CUPS_SERVER");
    }

  private:
    bool had_;
    QByteArray saved_;
};

}  // namespace fw::testing
