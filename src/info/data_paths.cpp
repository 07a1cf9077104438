#include "info/data_paths.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace fw {

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// "/usr/bin/../share/x" as "/usr/share/x" when both name the same file; the longer form stays
// where a symbolic link makes ".." lead elsewhere than the shortened text.
std::string Shortened(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path normal = fs::path(path).lexically_normal();
    std::error_code error;
    if (!fs::equivalent(path, normal, error)) return path;
    return normal.string();
}

}  // namespace

std::string InstalledDataDir() {
    return FW_INSTALLED_DATA_DIR "/";
}

std::string PrefixDataDir(std::string_view programDir) {
    std::string dir(programDir);
    dir += FW_DATA_DIR_FROM_PROGRAM_DIR "/";
    return dir;
}

std::string FindDataFile(std::string_view programDir, std::string_view relativePath) {
    std::string beside(programDir);
    beside += relativePath;
    if (Exists(beside)) return beside;
    // Without a program folder ".." would start from the working folder, which says nothing.
    if (!programDir.empty()) {
        const std::string inPrefix = PrefixDataDir(programDir) + std::string(relativePath);
        if (Exists(inPrefix)) return Shortened(inPrefix);
    }
    std::string installed = InstalledDataDir();
    installed += relativePath;
    if (Exists(installed)) return installed;
    return beside;
}

}  // namespace fw
