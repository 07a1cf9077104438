#pragma once
// A small mail sender in the manner of Simple MAPI: it fills one message from its lists and
// hands it to the user's mail program, whose compose window does the rest. The mail system
// itself sits behind `MailSystem`, so the sender runs the same on every platform and in tests.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fw {

// Simple MAPI flags and result codes that the sender uses.
inline constexpr std::uint32_t MAPI_LOGON_UI = 1;
inline constexpr std::uint32_t MAPI_NEW_SESSION = 2;
inline constexpr std::uint32_t MAPI_DIALOG = 8;
inline constexpr std::uint32_t MAPI_ORIG = 0;
inline constexpr std::uint32_t MAPI_TO = 1;
inline constexpr std::uint32_t MAPI_CC = 2;
inline constexpr std::uint32_t MAPI_BCC = 3;

inline constexpr std::uint32_t SUCCESS_SUCCESS = 0;
inline constexpr std::uint32_t MAPI_E_NOT_AVAILABLE = 1;  // no mail system, nothing done
inline constexpr std::uint32_t MAPI_E_FAILURE = 2;
inline constexpr std::uint32_t MAPI_E_LOGIN_FAILURE = 3;
inline constexpr std::uint32_t MAPI_E_TOO_MANY_FILES = 9;
inline constexpr std::uint32_t MAPI_E_TOO_MANY_RECIPIENTS = 10;
inline constexpr std::uint32_t MAPI_E_ATTACHMENT_NOT_FOUND = 11;

// The attachment position that keeps an attachment out of the note text.
inline constexpr std::uint32_t MapiNoPosition = 0xFFFFFFFFu;
// More recipients or attachments than this are refused before anything is built.
inline constexpr std::size_t MapiMaxEntries = 2730;

using MapiSession = std::uintptr_t;  // 0 = not logged on
using MapiWindow = std::uintptr_t;   // the parent window of the mail program's windows

// The option bits of `MapiMailer::Options`.
enum MailerOption : std::uint32_t {
    moUseDefaultProfile = 1,
    moCreateNewSession = 2,
    moLogonUI = 4,
    moShowDialog = 8,
    moNoSTMPIdent = 16,
};

struct MapiRecipDesc {
    std::uint32_t reserved = 0;
    std::uint32_t recipClass = MAPI_TO;
    std::string name;
    std::string address;
    std::uint32_t entryIdSize = 0;  // no entry id
};

struct MapiFileDesc {
    std::uint32_t reserved = 0;
    std::uint32_t flags = 0;
    std::uint32_t position = MapiNoPosition;
    std::string pathName;                 // the full file name
    std::string fileName;                 // the name shown, without folder
    std::optional<std::string> fileType;  // none
};

struct MapiMessage {
    std::uint32_t reserved = 0;
    std::string subject;
    std::string noteText;
    std::optional<std::string> messageType;     // none
    std::optional<std::string> dateReceived;    // none
    std::optional<std::string> conversationId;  // none
    std::uint32_t flags = 0;
    std::optional<MapiRecipDesc> originator;  // none
    std::vector<MapiRecipDesc> recips;
    std::vector<MapiFileDesc> files;
};

// The three Simple MAPI calls. Whether a mail system is present at all, and where the default
// profile name comes from, is the implementation's business; an absent system answers
// MAPI_E_NOT_AVAILABLE without doing anything.
class MailSystem {
  public:
    virtual ~MailSystem() = default;

    // The name of the user's default mail profile; empty when there is none.
    virtual std::string DefaultProfileName() = 0;
    // No value stands for "none" (a null pointer in the platform's call).
    virtual std::uint32_t Logon(MapiWindow parent, const std::optional<std::string>& profileName,
                                const std::optional<std::string>& password, std::uint32_t flags,
                                MapiSession& session) = 0;
    virtual std::uint32_t SendMail(MapiSession session, MapiWindow parent,
                                   const MapiMessage& message, std::uint32_t flags) = 0;
    virtual std::uint32_t Logoff(MapiSession session) = 0;
};

// Shows the busy (hourglass) cursor while the mail program is being called.
class BusyCursor {
  public:
    virtual ~BusyCursor() = default;
    virtual void show() = 0;
    virtual void restore() = 0;
};

class MapiMailer {
  public:
    using ErrorHandler = std::function<void(MapiMailer& sender, std::uint32_t result)>;

    // `cursor` may be null when no cursor is to be shown.
    explicit MapiMailer(MailSystem& system, BusyCursor* cursor = nullptr);
    ~MapiMailer();
    MapiMailer(const MapiMailer&) = delete;
    MapiMailer& operator=(const MapiMailer&) = delete;

    std::string Subject;
    std::vector<std::string> ToRecipient;
    std::vector<std::string> CcRecipient;
    std::vector<std::string> BccRecipient;
    std::vector<std::string> MessageBody;
    std::vector<std::string> Attachment;
    std::uint32_t Options = moUseDefaultProfile | moShowDialog;
    // Profile name and password used without moUseDefaultProfile.
    std::string ProfileName;
    std::string Password;
    // Raised for every failure with its result code.
    ErrorHandler OnError;

    // Logs off any session, empties the five lists and the subject, and resets the result.
    void Clear();

    // Builds the message and hands it to the mail system. The outcome is in LastResult() and
    // in OnError: 0 when the mail was handed over, otherwise the code of the failure.
    void Send(MapiWindow parent);

    // The message exactly as Send hands it over.
    MapiMessage BuildMessage() const;
    // The flags Send passes to SendMail.
    std::uint32_t SendFlags() const;

    MapiSession Session() const { return session_; }
    std::uint32_t LastResult() const { return lastResult_; }

  private:
    bool logon();
    void logoff();
    void fail(std::uint32_t result);

    MailSystem& system_;
    BusyCursor* cursor_;
    MapiSession session_ = 0;
    std::uint32_t lastResult_ = SUCCESS_SUCCESS;
};

// The file name without its folder; both '/' and '\\' count as separators.
std::string FileNameWithoutFolder(const std::string& path);

}  // namespace fw
