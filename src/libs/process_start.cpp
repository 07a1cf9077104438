#include "libs/process_start.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "libs/unique_fd.h"

extern char** environ;

namespace fw {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// The argument vector of a new program: its path, the arguments, a null pointer. Built before
// any fork, as the child may not allocate.
std::vector<char*> ArgumentVector(const std::string& path,
                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return ProgramEndedAbnormally;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : ProgramEndedAbnormally;
}

}  // namespace

std::string FindExecutable(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string_view folders(path);
    while (true) {
        const auto end = folders.find(':');
        // An empty entry means the working folder.
        std::string_view folder = folders.substr(0, end);
        if (folder.empty()) folder = ".";
        const std::string candidate = std::string(folder) + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        if (end == std::string_view::npos) return {};
        folders.remove_prefix(end + 1);
    }
}

int RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
    const std::string path = FindExecutable(program);
    if (path.empty()) return ProgramNotStarted;
    std::vector<char*> argv = ArgumentVector(path, arguments);
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return ProgramNotStarted;
    return WaitFor(pid);
}

ProgramOutput RunProgramForOutput(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  std::chrono::milliseconds limit, std::stop_token stop) {
    constexpr int PollMs = 100;  // a stop is seen within this
    ProgramOutput result;
    if (!IsExecutableFile(program)) return result;
    std::vector<char*> argv = ArgumentVector(program, arguments);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return result;
    UniqueFd readEnd(fds[0]), writeEnd(fds[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return result;
    writeEnd.reset();

    const auto deadline = std::chrono::steady_clock::now() + limit;
    const auto giveUp = [&] {
        kill(pid, SIGKILL);
        WaitFor(pid);
        result.status = stop.stop_requested() ? ProgramStopped : ProgramTimedOut;
        return result;
    };
    const auto tooLate = [&] {
        return stop.stop_requested() || std::chrono::steady_clock::now() >= deadline;
    };
    char buffer[4096];
    for (;;) {
        if (tooLate()) return giveUp();
        pollfd ready{readEnd.get(), POLLIN, 0};
        if (poll(&ready, 1, PollMs) <= 0) continue;
        const ssize_t n = read(readEnd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the program closed its output, normally by ending
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    // A program may close its output and still not end: it is waited for within the limit.
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : ProgramEndedAbnormally;
            return result;
        }
        if (ended < 0 && errno != EINTR) {
            result.status = ProgramEndedAbnormally;
            return result;
        }
        if (tooLate()) return giveUp();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// A child starts the program as its own child and ends at once, so the program is adopted
// by the system and never becomes a zombie of ours. A failed start is reported through a
// pipe that closes by itself when the program starts.
bool StartProgramDetached(const std::string& program, const std::vector<std::string>& arguments) {
    const std::string path = FindExecutable(program);
    if (path.empty()) return false;
    std::vector<char*> argv = ArgumentVector(path, arguments);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    UniqueFd readEnd(fds[0]), writeEnd(fds[1]);

    const pid_t middle = fork();
    if (middle < 0) return false;
    if (middle == 0) {
        // Only async-signal-safe calls from here on: the parent may run other threads.
        const pid_t started = fork();
        if (started == 0) {
            setsid();  // not ended with the terminal or process group of this program
            execv(path.c_str(), argv.data());
        }
        if (started <= 0) {
            const int err = errno;
            [[maybe_unused]] const ssize_t n = write(fds[1], &err, sizeof err);
        }
        _exit(0);
    }
    writeEnd.reset();
    WaitFor(middle);
    int err = 0;
    ssize_t n = 0;
    while ((n = read(readEnd.get(), &err, sizeof err)) < 0 && errno == EINTR) {
    }
    return n == 0;
}

}  // namespace fw
