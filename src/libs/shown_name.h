#pragma once
// File names as messages can show them: a name is any bytes, a message is UTF-8 text.
#include <string>
#include <string_view>

namespace fw {

// `name` with valid UTF-8 kept as it is and every other byte, and every control character,
// written as \xNN, so that a message never holds broken text nor a line break.
std::string ShownFileName(std::string_view name);

}  // namespace fw
