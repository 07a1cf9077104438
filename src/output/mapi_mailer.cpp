#include "output/mapi_mailer.h"

namespace fw {

namespace {

const char* const SmtpPrefix = "SMTP:";

// Restores the normal cursor on every way out of the send, exceptions included.
class CursorGuard {
  public:
    explicit CursorGuard(BusyCursor* cursor) : cursor_(cursor) {
        if (cursor_) cursor_->show();
    }
    ~CursorGuard() {
        if (cursor_) cursor_->restore();
    }
    CursorGuard(const CursorGuard&) = delete;
    CursorGuard& operator=(const CursorGuard&) = delete;

  private:
    BusyCursor* cursor_;
};

}  // namespace

std::string FileNameWithoutFolder(const std::string& path) {
#ifdef _WIN32
    const auto cut = path.find_last_of("/\\:");
#else
    const auto cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

MapiMailer::MapiMailer(MailSystem& system, BusyCursor* cursor) : system_(system), cursor_(cursor) {}

MapiMailer::~MapiMailer() {
    logoff();
}

void MapiMailer::Clear() {
    logoff();
    Subject.clear();
    ToRecipient.clear();
    CcRecipient.clear();
    BccRecipient.clear();
    MessageBody.clear();
    Attachment.clear();
    lastResult_ = SUCCESS_SUCCESS;
}

MapiMessage MapiMailer::BuildMessage() const {
    MapiMessage message;
    message.subject = Subject;
    for (const auto& line : MessageBody) {
        message.noteText += line;
        message.noteText += "\r\n";
    }
    const bool plainAddresses = (Options & moNoSTMPIdent) != 0;
    const auto addRecipients = [&](const std::vector<std::string>& list, std::uint32_t kind) {
        for (const auto& entry : list) {
            MapiRecipDesc recip;
            recip.recipClass = kind;
            recip.name = entry;
            recip.address = plainAddresses ? entry : SmtpPrefix + entry;
            message.recips.push_back(std::move(recip));
        }
    };
    addRecipients(ToRecipient, MAPI_TO);
    addRecipients(CcRecipient, MAPI_CC);
    addRecipients(BccRecipient, MAPI_BCC);
    for (const auto& path : Attachment) {
        MapiFileDesc file;
        file.pathName = path;
        file.fileName = FileNameWithoutFolder(path);
        message.files.push_back(std::move(file));
    }
    return message;
}

std::uint32_t MapiMailer::SendFlags() const {
    // Without a to-recipient only the compose window can complete the mail.
    const bool dialog = (Options & moShowDialog) != 0 || ToRecipient.empty();
    return dialog ? MAPI_DIALOG : 0;
}

bool MapiMailer::logon() {
    std::uint32_t flags = 0;
    if (Options & moCreateNewSession) flags |= MAPI_NEW_SESSION;
    const std::uint32_t firstFlags = (Options & moLogonUI) ? flags | MAPI_LOGON_UI : flags;

    MapiSession session = 0;
    std::uint32_t result;
    if (Options & moUseDefaultProfile) {
        result = system_.Logon(0, system_.DefaultProfileName(), std::nullopt, firstFlags, session);
    } else {
        result = system_.Logon(0, ProfileName, Password, firstFlags, session);
    }
    if (result != SUCCESS_SUCCESS) {
        // Second attempt: let the mail system ask the user.
        session = 0;
        result = system_.Logon(0, std::nullopt, std::nullopt, flags | MAPI_LOGON_UI, session);
    }
    lastResult_ = result;
    if (result != SUCCESS_SUCCESS) {
        fail(result);
        return false;
    }
    session_ = session;
    return true;
}

void MapiMailer::logoff() {
    if (session_ == 0) return;
    const std::uint32_t result = system_.Logoff(session_);
    session_ = 0;
    if (result != SUCCESS_SUCCESS) {
        // A failed log-off must not hide an earlier failure of the send.
        if (lastResult_ == SUCCESS_SUCCESS) lastResult_ = result;
        fail(result);
    }
}

void MapiMailer::fail(std::uint32_t result) {
    if (OnError) OnError(*this, result);
}

void MapiMailer::Send(MapiWindow parent) {
    const bool openedSession = session_ == 0 && logon();

    const std::size_t recipients = ToRecipient.size() + CcRecipient.size() + BccRecipient.size();
    std::uint32_t refusal = SUCCESS_SUCCESS;
    if (recipients > MapiMaxEntries) {
        refusal = MAPI_E_TOO_MANY_RECIPIENTS;
    } else if (Attachment.size() > MapiMaxEntries) {
        refusal = MAPI_E_TOO_MANY_FILES;
    }
    if (refusal != SUCCESS_SUCCESS) {
        lastResult_ = refusal;
        fail(refusal);
        // The session this send opened is closed on this path too.
        if (openedSession) logoff();
        return;
    }

    {
        CursorGuard busy(cursor_);
        const MapiMessage message = BuildMessage();
        lastResult_ = system_.SendMail(session_, parent, message, SendFlags());
        if (lastResult_ != SUCCESS_SUCCESS) fail(lastResult_);
    }
    if (openedSession) logoff();
}

}  // namespace fw
