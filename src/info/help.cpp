#include "info/help.h"

#include <array>

#include "info/data_paths.h"
#include "info/identity.h"

namespace fw {

std::string HelpDocumentPath(std::string_view programDir, std::string_view fileName) {
    std::string path(programDir);
    path += fileName;
    return path;
}

std::string MissingHelpText(std::string_view fullName) {
    std::string text(fullName);
    text += " could not be found!";
    return text;
}

std::optional<Message> OpenHelp(std::string_view programDir, std::string_view fileName,
                                const Opener& open) {
    const std::string path = FindDataFile(programDir, fileName);
    if (!RegularFileExists(path)) {
        return Message{MessageKind::Warning,
                       MissingHelpText(HelpDocumentPath(programDir, fileName))};
    }
    if (auto error = OpenDocument(path, open)) return Message{MessageKind::Error, *error};
    return std::nullopt;
}

std::string AboutText(std::string_view versionText, std::string_view copyrightLine) {
    const std::string name = std::string(ApplicationTitle) + " " + std::string(versionText);
    const std::array<std::string_view, 5> lines{
        name, copyrightLine, "",
        "Free software under the GNU General Public License, version 3;",
        "it comes with no warranty. See https://www.gnu.org/licenses/gpl-3.0.html"};
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace fw
