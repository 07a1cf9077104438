#include "stationlog/log_path.h"

#include <cstdlib>
#include <filesystem>

namespace fw {

std::string DefaultStationLogPath() {
    std::filesystem::path base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && std::filesystem::path(xdg).is_absolute()) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) return {};
        base = std::filesystem::path(home) / ".local" / "share";
    }
    return (base / "Floorwatch" / DefaultLogFileName).string();
}

std::string CreateLogFolder(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) return {};
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return ec ? ec.message() : std::string();
}

}  // namespace fw
