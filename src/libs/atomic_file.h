#pragma once
#include <cstdio>
#include <functional>
#include <string>

namespace fw {

// Writes a file through a temporary file in the target's folder and renames it over the
// target once it is complete, so a failed write never leaves a half-written file under
// the chosen name and never destroys the previous file.
// `write` fills the open stream and returns false on failure (errno tells why).
// Returns an empty text on success, otherwise the system's description of the error.
std::string WriteFileAtomically(const std::string& path,
                                const std::function<bool(std::FILE*)>& write);

}  // namespace fw
