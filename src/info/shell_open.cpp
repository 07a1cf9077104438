#include "info/shell_open.h"

#include <filesystem>

#include "libs/process_start.h"

namespace fw {

void ShellOpen(const std::string& target) {
    StartProgramDetached("xdg-open", {target});
}

std::string MissingDocumentText(const std::string& fullName) {
    return "Die Datei " + fullName + " konnte nicht gefunden werden!";
}

bool RegularFileExists(const std::string& fullName) {
    std::error_code error;
    return !fullName.empty() && std::filesystem::is_regular_file(fullName, error);
}

std::optional<std::string> OpenDocument(const std::string& fullName, const Opener& open) {
    if (!RegularFileExists(fullName)) return MissingDocumentText(fullName);
    open(fullName);
    return std::nullopt;
}

}  // namespace fw
