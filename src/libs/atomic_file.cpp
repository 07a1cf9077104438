#include "libs/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>

#include "libs/unique_fd.h"

namespace fw {

namespace {

// Attempts at finding a free temporary name before giving up.
constexpr int NameAttempts = 100;

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string ErrorText(int err) {
    return std::strerror(err ? err : EIO);
}

// The file a save replaces: where `path` is a symbolic link, the file it points to, so the
// link survives the save.
std::string ReplacedFile(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;  // no such file yet, or a dangling link: write the path itself
    std::string resolved = real;
    std::free(real);
    return resolved;
}

// A hidden name in `folder` for a temporary file; the caller retries when it is taken.
std::string TempName(const std::string& folder) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    return folder + "/.fwtmp-" + suffix;
}

// The errors with which open() tells that the kernel or the file system has no unnamed files.
bool UnnamedUnsupported(int err) {
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL;
}

// Creates a new empty file under a temporary name in `folder`, with the usual mode of a new
// file. Returns 0 or the errno of the failure.
int CreateNamed(const std::string& folder, UniqueFd& fd, std::optional<RemovedUnlessKept>& name) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string candidate = TempName(folder);
        fd.reset(open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.valid()) {
            name.emplace(std::move(candidate));
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

// Gives the unnamed file open at `fd` a temporary name in `folder`, through its /proc entry
// (or, without /proc, the descriptor itself). Returns 0 or the errno of the failure.
int LinkUnnamed(int fd, const std::string& folder, std::optional<RemovedUnlessKept>& name) {
    const std::string procEntry = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string candidate = TempName(folder);
        int linked =
            linkat(AT_FDCWD, procEntry.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT)
            linked = linkat(fd, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
        if (linked == 0) {
            name.emplace(std::move(candidate));
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

// Fills the file open at `fd` through a stream of its own and flushes it; `fd` stays open.
// Returns 0 or the errno of the failure.
int FillThroughStream(int fd, const std::function<bool(std::FILE*)>& write) {
    UniqueFd copy(fcntl(fd, F_DUPFD_CLOEXEC, 0));
    if (!copy.valid()) return errno;
    UniqueFile stream(fdopen(copy.get(), "wb"));
    if (!stream) return errno;
    copy.release();  // the stream owns it now
    errno = 0;
    if (!write(stream.get())) return errno ? errno : EIO;
    if (std::fflush(stream.get()) != 0) return errno;
    if (std::fclose(stream.release()) != 0) return errno;
    return 0;
}

// Writes a complete new file beside `target` and renames it over it. `old` is the replaced
// file's status, or null where there is none. Returns 0 or the errno of the failure.
int ReplaceRegularFile(const std::string& target, const struct stat* old,
                       const std::function<bool(std::FILE*)>& write, TempFileKind kind) {
    const std::string folder = FolderOf(target);
    UniqueFd fd;
    std::optional<RemovedUnlessKept> name;
    if (kind == TempFileKind::UnnamedWherePossible) {
        fd.reset(open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (!fd.valid() && !UnnamedUnsupported(errno)) return errno;
    }
    if (!fd.valid()) {
        if (const int err = CreateNamed(folder, fd, name)) return err;
    }
    if (old && fchmod(fd.get(), old->st_mode & 07777) != 0) return errno;

    if (const int err = FillThroughStream(fd.get(), write)) return err;
    if (fsync(fd.get()) != 0) return errno;
    if (!name) {
        if (const int err = LinkUnnamed(fd.get(), folder, name)) return err;
    }
    if (std::rename(name->path().c_str(), target.c_str()) != 0) return errno;
    name->keep();
    return 0;
}

// Writes an existing special file (device, FIFO, socket) as it stands. It is opened without
// waiting, so a FIFO that nobody reads is refused (ENXIO) instead of hanging; the writes
// themselves then wait for the reader. Returns 0 or the errno of the failure.
int WriteInPlace(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    UniqueFd fd(open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) return errno;
    const int flags = fcntl(fd.get(), F_GETFL);
    if (flags < 0 || fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return errno;
    return FillThroughStream(fd.get(), write);
}

}  // namespace

std::string WriteFileAtomically(const std::string& requestedPath,
                                const std::function<bool(std::FILE*)>& write, TempFileKind temp) {
    if (requestedPath.empty()) return ErrorText(ENOENT);
    const std::string target = ReplacedFile(requestedPath);
    struct stat old {};
    if (stat(target.c_str(), &old) != 0) {
        if (errno != ENOENT) return ErrorText(errno);
        const int err = ReplaceRegularFile(target, nullptr, write, temp);
        return err ? ErrorText(err) : std::string();
    }
    if (S_ISDIR(old.st_mode)) return ErrorText(EISDIR);
    if (!S_ISREG(old.st_mode)) {
        const int err = WriteInPlace(target, write);
        return err ? ErrorText(err) : std::string();
    }
    // Renaming only needs the folder's permission; the file's own must count as well.
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return ErrorText(errno);
    const int err = ReplaceRegularFile(target, &old, write, temp);
    return err ? ErrorText(err) : std::string();
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes,
                                TempFileKind temp) {
    return WriteFileAtomically(
        path,
        [bytes](std::FILE* f) {
            return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        },
        temp);
}

std::string SaveFailedText(const std::string& path, std::string_view reason) {
    return "Datei \"" + path + "\" kann nicht erstellt werden. " + std::string(reason);
}

}  // namespace fw
