#pragma once
// Runs a piece of a test as an ordinary user, so that file permissions apply to it even where
// the tests run as root (as in CI): a forked child drops to the user and group "nobody" and
// runs it; the parent waits and hands back what the child reported.
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace fw::test {

inline constexpr uid_t NobodyId = 65534;

// Runs `body` in a child process as an ordinary user and returns its text: empty when all
// went as the body expected, otherwise what went wrong. The body must not touch Qt or
// other threads' state; it may allocate and use files.
inline std::string RunAsOrdinaryUser(const std::function<std::string()>& body) {
    int channel[2];
    if (pipe(channel) != 0) return "pipe failed";
    const pid_t child = fork();
    if (child < 0) return "fork failed";
    if (child == 0) {
        close(channel[0]);
        std::string report;
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(NobodyId) != 0 || setuid(NobodyId) != 0))
            report = "could not drop to an ordinary user";
        else
            report = body();
        const ssize_t written = write(channel[1], report.data(), report.size());
        _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    close(channel[1]);
    std::string report;
    char buffer[512];
    ssize_t n = 0;
    while ((n = read(channel[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) report.append(buffer, static_cast<std::size_t>(n));
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) report += " (child did not end normally)";
    return report;
}

// A fresh folder that the ordinary user may write too, removed with everything in it.
class SharedTempDir {
  public:
    SharedTempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fw-shared-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
        chmod(pattern.c_str(), 0777);
    }
    SharedTempDir(const SharedTempDir&) = delete;
    SharedTempDir& operator=(const SharedTempDir&) = delete;
    ~SharedTempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace fw::test
