#pragma once
// What the "Station Log" menu's commands say where there is no log or no reading yet.
#include <optional>
#include <string>

#include "libs/message.h"

namespace fw {

// An information that no station log lies at `path` yet and how one comes about; none where
// a file lies there.
std::optional<Message> NoLogYet(const std::string& path);

// An information that the log at `path` holds no readings yet.
Message NoReadingsYet(const std::string& path);

}  // namespace fw
