#pragma once
#include <string>

namespace fw {

inline constexpr const char* DefaultLogFileName = "station-log.sqlite";

// $XDG_DATA_HOME/Floorwatch/station-log.sqlite, with ~/.local/share in place of an unset or
// relative XDG_DATA_HOME (as the XDG base directory rules say). Empty when neither it nor
// HOME is set. The folder is not created here.
std::string DefaultStationLogPath();

// Creates the folders above `path` where they are missing; an empty text on success,
// otherwise the system's reason.
std::string CreateLogFolder(const std::string& path);

}  // namespace fw
