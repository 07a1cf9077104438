#pragma once
// Test helpers around a real rigctld: the daemon with Hamlib's dummy rig on a free loopback
// port (its S-meter always reads -12 dB over S9), and a peer that accepts but never answers.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace fw::rig::test {

// A loopback socket bound to a port the system chose; listening or not.
class LoopbackSocket {
  public:
    explicit LoopbackSocket(bool listening) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
            getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0 ||
            (listening && listen(fd_, 8) != 0))
            throw std::runtime_error("no loopback port");
        port_ = ntohs(a.sin_port);
    }
    ~LoopbackSocket() { close(fd_); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;
    int port() const { return port_; }
    int fd() const { return fd_; }

  private:
    int fd_;
    int port_ = 0;
};

// A port that was free a moment ago (nothing listens there once this returns).
inline int FreeLoopbackPort() {
    return LoopbackSocket(false).port();
}

// Listens but never accepts or answers: the kernel completes the connection and buffers
// what is sent, like a daemon that hangs.
using SilentPeer = LoopbackSocket;

// How many connections wait in the accept queue of the socket listening on the loopback port
// (the receive queue of a listening socket in the kernel's table); -1 when none listens there.
inline int WaitingConnections(int port) {
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // heading
    char portHex[8];
    std::snprintf(portHex, sizeof portHex, ":%04X", port);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues;
        fields >> slot >> local >> remote >> state >> queues;
        if (state == "0A" && local.size() > 5 && local.compare(local.size() - 5, 5, portHex) == 0)
            return std::stoi(queues.substr(queues.find(':') + 1), nullptr, 16);
    }
    return -1;
}

// Whether a socket listens on the loopback port, read from the kernel's table rather than by
// connecting: rigctld 4.5 closes a leaving client's descriptor more than once, so a check
// that connected could make it drop the test's own connection that follows.
inline bool Listening(int port) {
    return WaitingConnections(port) >= 0;
}

// Requests `stop` after `ms`, from a thread that is joined when the result goes.
inline std::jthread StopAfter(std::stop_source& stop, int ms) {
    return std::jthread([&stop, ms] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        stop.request_stop();
    });
}

// rigctld -m 1 -T 127.0.0.1 -t PORT -C static_data=1 (or rotctld -m 1 with Hamlib's dummy
// rotator, which turns at its own pace of about 6 degrees a second), started on a free port
// (another if that one was taken meanwhile), waited for until it accepts, killed on
// destruction. Given a log file, the daemon writes there what it is asked, at the verbose
// level ("dummy_set_freq called: …"), for tests that wait for a call to arrive.
enum class Daemon { Rig, Rotator };

class RigctldProcess {
  public:
    explicit RigctldProcess(Daemon daemon = Daemon::Rig, std::string logFile = {})
        : program_(daemon == Daemon::Rig ? "rigctld" : "rotctld"), logFile_(std::move(logFile)) {
        for (int attempt = 0; attempt < 5; ++attempt)
            if (start(FreeLoopbackPort())) return;
        throw std::runtime_error(std::string(program_) + " did not start");
    }
    ~RigctldProcess() { kill(); }
    RigctldProcess(const RigctldProcess&) = delete;
    RigctldProcess& operator=(const RigctldProcess&) = delete;

    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

    // Freezes the daemon (SIGSTOP) as a hung machine would, and lets it go on (SIGCONT).
    void pause() { ::kill(pid_, SIGSTOP); }
    void resume() { ::kill(pid_, SIGCONT); }

    // Ends the daemon at once, as a crash would.
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    bool start(int port) {
        const std::string portText = std::to_string(port);
        const bool rig = program_ == std::string("rigctld");
        std::vector<const char*> argv = {program_, "-m", "1", "-T", "127.0.0.1", "-t",
                                         portText.c_str()};
        if (rig) argv.insert(argv.end(), {"-C", "static_data=1"});
        if (!logFile_.empty()) argv.push_back("-vvvv");
        argv.push_back(nullptr);
        posix_spawn_file_actions_t io;
        posix_spawn_file_actions_init(&io);
        posix_spawn_file_actions_addopen(&io, 1, "/dev/null", O_WRONLY, 0);
        if (logFile_.empty())
            posix_spawn_file_actions_addopen(&io, 2, "/dev/null", O_WRONLY, 0);
        else
            posix_spawn_file_actions_addopen(&io, 2, logFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e =
            posix_spawnp(&pid_, program_, &io, nullptr, const_cast<char**>(argv.data()), environ);
        posix_spawn_file_actions_destroy(&io);
        if (e != 0) throw std::runtime_error(std::string(program_) + " cannot be started (libhamlib-utils)");
        for (int i = 0; i < 250; ++i) {                     // up to 5 s
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {  // ended: the port was taken
                pid_ = -1;
                return false;
            }
            if (Listening(port) && waitpid(pid_, nullptr, WNOHANG) == 0) {
                port_ = port;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill();
        return false;
    }

    const char* program_;
    std::string logFile_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace fw::rig::test
