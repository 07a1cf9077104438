#pragma once
// floorwatch-cli's entry point run in a child process, for the tests that signal it.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli.h"

namespace fw::cli::test {

// floorwatch-cli in a child process; its standard output comes through a pipe.
class ChildMonitor {
  public:
    ChildMonitor(const std::vector<std::string>& args, const std::string& errFile) {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            std::ofstream err(errFile);
            const int code = RunCli(args, std::cout, err);
            std::cout.flush();
            err.flush();
            _exit(code);
        }
        close(fds[1]);
        out_ = fds[0];
    }
    ~ChildMonitor() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }

    // The next line of standard output; empty at its end or after 30 s without one.
    std::string line() {
        std::string text;
        char c = 0;
        while (true) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 30'000) <= 0 || read(out_, &c, 1) != 1) return text;
            if (c == '\n') return text;
            text += c;
        }
    }
    std::vector<std::string> restOfOutput() {
        std::vector<std::string> lines;
        for (std::string l = line(); !l.empty(); l = line()) lines.push_back(l);
        return lines;
    }
    void signal(int s) { kill(pid_, s); }
    // As `| head -1` does after its line.
    void closeOutput() {
        close(out_);
        out_ = -1;
    }
    // The wait status; a child still running after a minute is killed (a hang).
    int wait() {
        int status = 0;
        pid_t ended = 0;
        for (int i = 0; i < 600 && (ended = waitpid(pid_, &status, WNOHANG)) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (ended == 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

}  // namespace fw::cli::test
