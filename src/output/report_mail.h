#pragma once
// The program's own mail: the noise report with the USER data file attached.
#include <string>
#include <string_view>
#include <vector>

#include "output/mapi_mailer.h"

namespace fw {

// The options the report is sent with: the default profile and the compose window.
inline constexpr std::uint32_t ReportMailOptions = moUseDefaultProfile | moShowDialog;

struct ReportMailInput {
    std::string appTitle;      // "Floorwatch"
    std::string versionText;   // "v 1.0"
    std::string recipient;     // the noise-report mailbox; empty: none, the user adds one
    std::string userDataFile;  // full name of the saved or loaded USER data file
};

// "Report from " + title + " " + version.
std::string ReportMailSubject(std::string_view appTitle, std::string_view versionText);

// The seven body lines; the sender fills in name, call and address in the composer.
const std::vector<std::string>& ReportMailBody();

// Clears `mailer` and fills it with the report: options, subject, the one recipient, the body
// and the data file as the one attachment.
void PrepareReportMail(MapiMailer& mailer, const ReportMailInput& input);

}  // namespace fw
