#include "receiver/receiver_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "receiver/receiver_error.h"

namespace fw::receiver {

namespace {

// What the holder wrote into the file; it writes right after taking the lock, so a file
// still empty is read again for a moment.
std::string HolderOf(int fd) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        char text[256];
        const ssize_t n = pread(fd, text, sizeof text - 1, 0);
        if (n > 0) {
            std::string holder(text, static_cast<std::size_t>(n));
            while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r'))
                holder.pop_back();
            return holder;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "another program";
}

}  // namespace

std::string FileNamePart(const std::string& text) {
    std::string part = text.empty() ? std::string("default") : text;
    for (char& c : part)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
    return part;
}

std::string LockFolder() {
    namespace fs = std::filesystem;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && fs::path(runtime).is_absolute())
        return (fs::path(runtime) / "Floorwatch").string();
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && fs::path(cache).is_absolute()) return (fs::path(cache) / "Floorwatch").string();
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return (fs::path(home) / ".cache" / "Floorwatch").string();
}

ReceiverLock::ReceiverLock(const std::string& fileName, const std::string& user,
                           const std::string& device, UniqueFd held)
    : held_(std::move(held)) {
    const std::string folder = LockFolder();
    if (folder.empty())
        throw ReceiverError("no folder for the " + device +
                       "'s lock file (neither XDG_RUNTIME_DIR nor HOME is set)");
    const std::string path = folder + "/" + fileName;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    fd_ = UniqueFd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd_.valid())
        throw ReceiverError("cannot open the " + device + "'s lock file " + path + ": " +
                       std::strerror(errno));
    int e;
    do {
        e = flock(fd_.get(), LOCK_EX | LOCK_NB);
    } while (e != 0 && errno == EINTR);
    if (e != 0) {
        if (errno == EWOULDBLOCK) throw ReceiverError(device + " in use by " + HolderOf(fd_.get()));
        throw ReceiverError("cannot lock the " + device + "'s lock file " + path + ": " +
                       std::strerror(errno));
    }
    const std::string holder = user + " (pid " + std::to_string(getpid()) + ")\n";
    // Who holds the device, for the message of the next one that asks; the lock holds either way.
    if (ftruncate(fd_.get(), 0) == 0) {
        [[maybe_unused]] const ssize_t n = pwrite(fd_.get(), holder.data(), holder.size(), 0);
    }
}

}  // namespace fw::receiver
