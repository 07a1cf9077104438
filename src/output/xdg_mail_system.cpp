#include "output/xdg_mail_system.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>

extern char** environ;

namespace fw {

namespace {

// xdg-email's exit codes for a missing and for an unreadable file.
constexpr int XdgFileMissing = 2;
constexpr int XdgNoPermission = 5;

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

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

constexpr int NotStarted = -1;
constexpr int EndedAbnormally = -2;

// Runs `program` with `arguments` and waits for it; its exit status, NotStarted or
// EndedAbnormally.
int RunAndWait(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        return NotStarted;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return EndedAbnormally;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : EndedAbnormally;
}

}  // namespace

std::string FindExecutable(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string_view folders(path);
    while (true) {
        const auto end = folders.find(':');
        // An empty entry means the working folder.
        std::string_view folder = folders.substr(0, end);
        if (folder.empty()) folder = ".";
        const std::string candidate = std::string(folder) + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        if (end == std::string_view::npos) return {};
        folders.remove_prefix(end + 1);
    }
}

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
    const int status = RunAndWait(program, XdgEmailArguments(message));
    if (status == 0) return SUCCESS_SUCCESS;
    if (status == NotStarted) return MAPI_E_NOT_AVAILABLE;
    if (status == XdgFileMissing || status == XdgNoPermission) return MAPI_E_ATTACHMENT_NOT_FOUND;
    return MAPI_E_FAILURE;
}

std::uint32_t XdgMailSystem::Logoff(MapiSession) {
    return SUCCESS_SUCCESS;
}

}  // namespace fw
