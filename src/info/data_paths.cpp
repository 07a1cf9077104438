#include "info/data_paths.h"

#include <sys/stat.h>

namespace fw {

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

std::string InstalledDataDir() {
    return FW_INSTALLED_DATA_DIR "/";
}

std::string FindDataFile(std::string_view programDir, std::string_view relativePath) {
    std::string beside(programDir);
    beside += relativePath;
    if (Exists(beside)) return beside;
    std::string installed = InstalledDataDir();
    installed += relativePath;
    if (Exists(installed)) return installed;
    return beside;
}

}  // namespace fw
