#include "output/xdg_mail_system.h"

#include <filesystem>
#include <string_view>

#include "libs/process_start.h"

namespace fw {

namespace {

// xdg-email's exit codes for a missing and for an unreadable file.
constexpr int XdgFileMissing = 2;
constexpr int XdgNoPermission = 5;

std::string PlainAddress(const std::string& address) {
    constexpr std::string_view prefix = "SMTP:";
    if (address.size() < prefix.size()) return address;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = address[i];
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper != prefix[i]) return address;
    }
    return address.substr(prefix.size());
}

// xdg-email takes a bare argument as an address only if it holds an '@'; one that looks like
// an option or a mailto: URI would be read as such, so those go through --to instead.
bool FitsAsBareAddress(const std::string& address) {
    return address.find('@') != std::string::npos && address.front() != '-' &&
           address.rfind("mailto:", 0) != 0;
}

std::string WithoutCarriageReturns(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        result += text[i];
    }
    return result;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

}  // namespace

std::vector<std::string> XdgEmailArguments(const MapiMessage& message) {
    // The texts are passed as UTF-8 already.
    std::vector<std::string> arguments{"--utf8"};
    std::string bareAddress;
    for (const auto& recip : message.recips) {
        const std::string address = PlainAddress(recip.address);
        if (address.empty()) continue;  // xdg-email refuses empty values
        if (recip.recipClass == MAPI_TO && bareAddress.empty() && FitsAsBareAddress(address)) {
            bareAddress = address;
            continue;
        }
        const char* option = recip.recipClass == MAPI_CC    ? "--cc"
                             : recip.recipClass == MAPI_BCC ? "--bcc"
                                                            : "--to";
        arguments.insert(arguments.end(), {option, address});
    }
    if (!message.subject.empty()) arguments.insert(arguments.end(), {"--subject", message.subject});
    // xdg-email separates the lines with CR LF itself and drops any final line break.
    std::string body = WithoutCarriageReturns(message.noteText);
    while (!body.empty() && body.back() == '\n') body.pop_back();
    if (!body.empty()) arguments.insert(arguments.end(), {"--body", body});
    for (const auto& file : message.files) {
        if (file.pathName.empty()) continue;
        arguments.insert(arguments.end(), {"--attach", AbsolutePath(file.pathName)});
    }
    if (!bareAddress.empty()) arguments.push_back(bareAddress);
    return arguments;
}

XdgMailSystem::XdgMailSystem(std::string program) : program_(std::move(program)) {}

std::string XdgMailSystem::DefaultProfileName() {
    return {};
}

std::uint32_t XdgMailSystem::Logon(MapiWindow, const std::optional<std::string>&,
                                   const std::optional<std::string>&, std::uint32_t,
                                   MapiSession& session) {
    if (FindExecutable(program_).empty()) {
        session = 0;
        return MAPI_E_NOT_AVAILABLE;
    }
    session = 1;
    return SUCCESS_SUCCESS;
}

std::uint32_t XdgMailSystem::SendMail(MapiSession, MapiWindow, const MapiMessage& message,
                                      std::uint32_t) {
    // The composer is always shown: xdg-email cannot send on its own.
    const std::string program = FindExecutable(program_);
    if (program.empty()) return MAPI_E_NOT_AVAILABLE;
    const int status = RunProgram(program, XdgEmailArguments(message));
    if (status == 0) return SUCCESS_SUCCESS;
    if (status == ProgramNotStarted) return MAPI_E_NOT_AVAILABLE;
    if (status == XdgFileMissing || status == XdgNoPermission) return MAPI_E_ATTACHMENT_NOT_FOUND;
    return MAPI_E_FAILURE;
}

std::uint32_t XdgMailSystem::Logoff(MapiSession) {
    return SUCCESS_SUCCESS;
}

}  // namespace fw
