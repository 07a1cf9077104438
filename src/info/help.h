#pragma once
// The help documents shipped with the program and the about text.
#include <optional>
#include <string>
#include <string_view>

#include "info/shell_open.h"
#include "libs/message.h"

namespace fw {

inline constexpr std::string_view HelpFileEnglish = "FloorwatchEN.pdf";
inline constexpr std::string_view HelpFileGerman = "FloorwatchDE.pdf";

// `programDir` ends with a path separator, so the name is a plain concatenation.
std::string HelpDocumentPath(std::string_view programDir, std::string_view fileName);

// The warning for a help document that is not there: its full name + " could not be found!".
std::string MissingHelpText(std::string_view fullName);

// Opens the help document `fileName`, found beside the program or in the share folder
// (FindDataFile), or says why it cannot: a warning naming the path beside the program when it
// is in neither, the error of OpenDocument when it vanished after the check.
std::optional<Message> OpenHelp(std::string_view programDir, std::string_view fileName,
                                const Opener& open);

// The lines of the about box, each followed by CR LF: the program's name and `versionText`,
// the copyright line and the licence.
std::string AboutText(std::string_view versionText, std::string_view copyrightLine);

}  // namespace fw
