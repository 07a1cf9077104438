#pragma once
// Handing files and web addresses to the desktop, which opens them with the user's programs.
#include <functional>
#include <optional>
#include <string>

namespace fw {

// Opens a file or web address; returns at once and reports nothing.
using Opener = std::function<void(const std::string& target)>;

// Starts the desktop's opener (xdg-open) detached, with `target` as its one argument and no
// shell in between; does not wait for it and ignores whether it could be started.
void ShellOpen(const std::string& target);

// "Die Datei " + name + " konnte nicht gefunden werden!"
std::string MissingDocumentText(const std::string& fullName);

// Opens the file through `open` if it exists; otherwise returns the text of the error box.
std::optional<std::string> OpenDocument(const std::string& fullName, const Opener& open);

// True for an existing regular file (or a link to one).
bool RegularFileExists(const std::string& fullName);

}  // namespace fw
