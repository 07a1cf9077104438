#pragma once
// The mail system of a freedesktop desktop: xdg-email opens the user's mail composer with
// recipients, subject, body and attachments filled in.
#include <string>
#include <vector>

#include "libs/process_start.h"
#include "output/mapi_mailer.h"

namespace fw {

class XdgMailSystem : public MailSystem {
  public:
    // `program` is looked up on PATH unless it contains a '/'.
    explicit XdgMailSystem(std::string program = "xdg-email");

    // There are no mail profiles: always empty.
    std::string DefaultProfileName() override;
    // Succeeds where the program can be found and executed; the session is a token only.
    std::uint32_t Logon(MapiWindow parent, const std::optional<std::string>& profileName,
                        const std::optional<std::string>& password, std::uint32_t flags,
                        MapiSession& session) override;
    // Runs the program with one argument per value, without a shell, and waits for it to end.
    // MAPI_E_NOT_AVAILABLE when it cannot be started, MAPI_E_ATTACHMENT_NOT_FOUND when it
    // reports a missing or unreadable attachment, MAPI_E_FAILURE for any other failure.
    std::uint32_t SendMail(MapiSession session, MapiWindow parent, const MapiMessage& message,
                           std::uint32_t flags) override;
    std::uint32_t Logoff(MapiSession session) override;

  private:
    std::string program_;
};

// The arguments (without the program name) that hand `message` to xdg-email: "SMTP:"
// prefixes removed, the note text's CR LF turned into the line breaks xdg-email expects
// (it cannot pass on a final line break), and relative attachment names made absolute.
std::vector<std::string> XdgEmailArguments(const MapiMessage& message);

}  // namespace fw
