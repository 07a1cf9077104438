#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace fw {

// Where the new content waits until it replaces the target. Unnamed (O_TMPFILE) leaves
// nothing behind when the program is killed during the write, and is given a name only for
// the rename; Named is the fallback where the file system cannot create unnamed files.
enum class TempFileKind { UnnamedWherePossible, Named };

// The one way every save writes a file.
// - A regular file (or none yet) is written to a temporary file in the target's folder and
//   renamed over the target once complete, so a failure never leaves a half-written file
//   under the chosen name and never destroys the previous file. A replaced file keeps its
//   mode; a symbolic link stays a link and the file it points to is replaced.
// - An existing file that the user may not write (mode 0444, say) is refused and left as it
//   was, although its folder would allow replacing it.
// - An existing device, FIFO or other special file is written in place, never replaced; a
//   FIFO without a reader is refused instead of waited for. A folder is refused.
// `write` fills the open stream and returns false on failure (errno tells why); when it
// throws, nothing is left behind and the exception passes on.
// Returns an empty text on success, otherwise the system's description of the error.
std::string WriteFileAtomically(const std::string& path,
                                const std::function<bool(std::FILE*)>& write,
                                TempFileKind temp = TempFileKind::UnnamedWherePossible);

// Writes the given bytes the same way.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes,
                                TempFileKind temp = TempFileKind::UnnamedWherePossible);

// The message of a save that failed: it names the file, then gives the reason.
std::string SaveFailedText(const std::string& path, std::string_view reason);

}  // namespace fw
