#include "iq/byte_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fw {

ByteFile::ByteFile(const std::string& path) : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
    // Non-blocking, so that a FIFO given as a recording is refused below instead of waiting for
    // a writer for ever; on a regular file the flag changes nothing.
    struct stat st {};
    if (!fd_.valid() || ::fstat(fd_.get(), &st) != 0) {
        error_ = path + ": " + std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        error_ = path + ": not a regular file";
    } else {
        size_ = static_cast<std::uint64_t>(st.st_size);
    }
}

std::int64_t ByteFile::readAt(std::uint64_t offset, std::span<std::byte> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(fd_.get(), out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error_ = path_ + ": " + std::strerror(errno);
            return -1;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

}  // namespace fw
