#include "libs/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace fw {

namespace {

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

}  // namespace

std::string WriteFileAtomically(const std::string& requestedPath,
                                const std::function<bool(std::FILE*)>& write) {
    const std::string path = ReplacedFile(requestedPath);
    std::string temp = FolderOf(path) + "/.fwtmp-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return ErrorText(errno);

    // mkstemp creates the file with mode 0600: a replaced file keeps its own mode, a new
    // one gets the usual mode of a new file.
    struct stat old {};
    if (stat(path.c_str(), &old) == 0) {
        fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }

    std::FILE* f = fdopen(fd, "wb");
    if (!f) {
        const int err = errno;
        close(fd);
        unlink(temp.c_str());
        return ErrorText(err);
    }
    errno = 0;
    bool ok = write(f);
    int err = errno;
    if (ok && std::fflush(f) != 0) {
        ok = false;
        err = errno;
    }
    if (ok && fsync(fileno(f)) != 0) {
        ok = false;
        err = errno;
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        return ErrorText(err);
    }
    return {};
}

}  // namespace fw
