#pragma once
// A throwaway PostgreSQL cluster for a test: initdb and pg_ctl into a temporary folder, the
// server listening only on a Unix socket there, under a port number that is free. PostgreSQL
// refuses to run as root, so where the tests run as root (as in CI) its programs run as the
// ordinary user "nobody", who owns the folder. The server is stopped and the folder removed
// when the cluster goes, whatever the test did; should the test program die before, a guard
// process stops the server and removes the folder.
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ordinary_user.h"

namespace fw::test {

class PgCluster {
  public:
    static constexpr const char* Admin = "fwadmin";

    PgCluster() {
        bin_ = FindBin();
        if (bin_.empty()) {
            error_ = "no PostgreSQL server programs under /usr/lib/postgresql";
            return;
        }
        std::string pattern = (std::filesystem::temp_directory_path() / "fw-pg-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
        if (geteuid() == 0 && chown(dir_.c_str(), NobodyId, NobodyId) != 0) std::abort();
        port_ = FreePort();
        if (Run({bin_ + "/initdb", "-D", data(), "-U", Admin, "--auth=trust", "-E", "UTF8",
                 "--locale=C.UTF-8", "--no-sync"}) != 0) {
            error_ = "initdb failed: see " + dir_ + "/run.log";
            return;
        }
        if (!start()) error_ = "the server did not start: see " + dir_ + "/server.log";
        startGuard();
    }

    ~PgCluster() {
        stop();
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
        if (guard_ >= 0) close(guard_);
    }
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // Empty when the cluster runs, otherwise why not.
    const std::string& error() const { return error_; }

    // A connection string to a database of the cluster as `user`.
    std::string conninfo(const std::string& user = Admin,
                         const std::string& database = "postgres") const {
        return "host=" + dir_ + " port=" + std::to_string(port_) + " dbname=" + database +
               " user=" + user;
    }
    // A connection string to a port where no server listens.
    std::string downConninfo() const {
        return "host=" + dir_ + " port=" + std::to_string(port_ + 1) + " dbname=postgres user=" +
               Admin;
    }

    // Starts the server and waits until it accepts connections.
    bool start() {
        running_ = Run({bin_ + "/pg_ctl", "-D", data(), "-l", dir_ + "/server.log", "-w", "-o",
                        "-k " + dir_ + " -p " + std::to_string(port_) +
                            " -c listen_addresses='' -c fsync=off",
                        "start"}) == 0;
        return running_;
    }
    // Stops the server at once, as a crash would, and waits until it is gone.
    bool stop() {
        if (!running_) return true;
        running_ = Run({bin_ + "/pg_ctl", "-D", data(), "-m", "immediate", "-w", "stop"}) != 0;
        return !running_;
    }

  private:
    // A child that waits for the end of this process (the end of a pipe that only this
    // process holds open) and then stops the server and removes the folder.
    void startGuard() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) return;
        const pid_t child = fork();
        if (child < 0) {
            close(ends[0]);
            close(ends[1]);
            return;
        }
        if (child == 0) {
            close(ends[1]);
            char byte;
            while (read(ends[0], &byte, 1) != 0 && errno == EINTR) {
            }
            if (running_) Run({bin_ + "/pg_ctl", "-D", data(), "-m", "immediate", "-w", "stop"});
            std::error_code ec;
            std::filesystem::remove_all(dir_, ec);
            _exit(0);
        }
        close(ends[0]);
        guard_ = ends[1];
    }

    std::string data() const { return dir_ + "/data"; }

    static std::string FindBin() {
        std::error_code ec;
        std::string best;
        for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec))
            if (std::filesystem::exists(entry.path() / "bin/initdb", ec) &&
                (best.empty() || entry.path().string() > best))
                best = entry.path().string();
        return best.empty() ? best : best + "/bin";
    }

    static int FreePort() {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        int port = 54320;
        if (s >= 0 && bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            getsockname(s, reinterpret_cast<sockaddr*>(&a), &size) == 0)
            port = ntohs(a.sin_port);
        if (s >= 0) close(s);
        return port;
    }

    // Runs a PostgreSQL program as the ordinary user, its output into the folder's run.log.
    int Run(const std::vector<std::string>& command) const {
        const std::string log = dir_ + "/run.log";
        const pid_t child = fork();
        if (child < 0) return -1;
        if (child == 0) {
            if (geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(NobodyId) != 0 || setuid(NobodyId) != 0))
                _exit(126);
            if (!freopen(log.c_str(), "a", stdout) || !freopen(log.c_str(), "a", stderr))
                _exit(126);
            setenv("LC_ALL", "C.UTF-8", 1);
            setenv("HOME", dir_.c_str(), 1);
            std::vector<char*> argv;
            for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        while (waitpid(child, &status, 0) < 0)
            if (errno != EINTR) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string bin_, dir_, error_;
    int port_ = 0;
    bool running_ = false;
    int guard_ = -1;  // the write end of the guard's pipe
};

}  // namespace fw::test
