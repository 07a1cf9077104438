#include "atomic_file.h"

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

}  // namespace

std::string WriteFileAtomically(const std::string& path,
                                const std::function<bool(std::FILE*)>& write) {
    std::string temp = FolderOf(path) + "/.fwtmp-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return ErrorText(errno);

    // mkstemp creates the file with mode 0600; give it the usual mode of a new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

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
