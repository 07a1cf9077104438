#include "app/stationlog/missing_log.h"

#include <filesystem>

namespace fw {

std::optional<Message> NoLogYet(const std::string& path) {
    std::error_code ec;
    if (!path.empty() && std::filesystem::exists(path, ec)) return std::nullopt;
    return Message{MessageKind::Information,
                   "There is no station log yet (" + path +
                       "). One comes about when the monitor runs (Station Log > Monitor…), or "
                       "when you enter measurements while \"Log every measurement entered in the "
                       "window\" is ticked (File > Settings…)."};
}

Message NoReadingsYet(const std::string& path) {
    return {MessageKind::Information, "The station log " + path + " holds no readings yet."};
}

}  // namespace fw
