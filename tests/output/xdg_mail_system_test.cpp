#include "output/xdg_mail_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "output/report_mail.h"

namespace fw {
namespace {

namespace fs = std::filesystem;

TEST(XdgEmailArguments, PlainValuesEachAsOneArgument) {
    XdgMailSystem unused;
    MapiMailer mailer(unused);
    mailer.Subject = "S";
    mailer.ToRecipient = {"first@x.example", "second@x.example"};
    mailer.CcRecipient = {"cc@x.example"};
    mailer.BccRecipient = {"bcc@x.example", ""};
    mailer.MessageBody = {"a", "", "b"};
    mailer.Attachment = {"/data/one.txt"};
    const auto args = XdgEmailArguments(mailer.BuildMessage());
    const std::vector<std::string> expected{"--utf8",        "--to",           "second@x.example",
                                            "--cc",          "cc@x.example",   "--bcc",
                                            "bcc@x.example", "--subject",      "S",
                                            "--body",        "a\n\nb",         "--attach",
                                            "/data/one.txt", "first@x.example"};
    EXPECT_EQ(args, expected);

    mailer.Options |= moNoSTMPIdent;
    mailer.ToRecipient = {"SMTP:op@x.example"};
    mailer.CcRecipient.clear();
    mailer.BccRecipient.clear();
    EXPECT_EQ(XdgEmailArguments(mailer.BuildMessage()).back(), "op@x.example");
}

TEST(XdgEmailArguments, OptionLikeAddressesGoThroughToAndAttachmentsBecomeAbsolute) {
    XdgMailSystem unused;
    MapiMailer mailer(unused);
    mailer.ToRecipient = {"-x@evil.example", "mailto:a@b?attach=/etc/passwd", "plain"};
    mailer.Attachment = {"-rf data.txt"};
    const std::vector<std::string> expected{"--utf8",
                                            "--to",
                                            "-x@evil.example",
                                            "--to",
                                            "mailto:a@b?attach=/etc/passwd",
                                            "--to",
                                            "plain",
                                            "--attach",
                                            (fs::current_path() / "-rf data.txt").string()};
    EXPECT_EQ(XdgEmailArguments(mailer.BuildMessage()), expected);
}

// Sets environment variables for one test and restores them afterwards.
class EnvironmentGuard {
  public:
    ~EnvironmentGuard() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    void set(const std::string& name, const std::optional<std::string>& value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string PercentDecoded(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            result += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

// The fields of a mailto: URI; "to" holds the address before the '?'.
std::multimap<std::string, std::string> MailtoFields(const std::string& uri) {
    std::multimap<std::string, std::string> fields;
    EXPECT_EQ(uri.rfind("mailto:", 0), 0u) << uri;
    const auto query = uri.find('?');
    const std::string to = uri.substr(7, query == std::string::npos ? query : query - 7);
    if (!to.empty()) fields.emplace("to", PercentDecoded(to));
    if (query == std::string::npos) return fields;
    std::stringstream pairs(uri.substr(query + 1));
    std::string pair;
    while (std::getline(pairs, pair, '&')) {
        const auto eq = pair.find('=');
        fields.emplace(pair.substr(0, eq), PercentDecoded(pair.substr(eq + 1)));
    }
    return fields;
}

// Runs the installed xdg-email with a mail handler registered for the test in a private
// freedesktop environment; the handler records the mailto: URI it receives.
class XdgEmailDelivery : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(FindExecutable("xdg-email").empty()) << "xdg-utils is not installed";
        char pattern[] = "/tmp/fw-mail-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = fs::canonical(pattern);
        fs::create_directories(root / "data" / "applications");
        fs::create_directories(root / "config");
        recorder = root / "record-mail.sh";
        WriteFile(recorder, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + (root / "received").string() +
                                "\"\nexit ${FW_TEST_HANDLER_EXIT:-0}\n");
        fs::permissions(recorder, fs::perms::owner_all);
        WriteFile(root / "data" / "applications" / "fw-test-mail.desktop",
                  "[Desktop Entry]\nType=Application\nName=Test mail handler\nExec=" +
                      recorder.string() + " %u\nMimeType=x-scheme-handler/mailto;\n");
        WriteFile(root / "config" / "mimeapps.list",
                  "[Default Applications]\nx-scheme-handler/mailto=fw-test-mail.desktop\n");

        env.set("HOME", root.string());
        env.set("DISPLAY", ":fw-test");
        env.set("XDG_CURRENT_DESKTOP", "X-Generic");
        env.set("XDG_DATA_HOME", (root / "data").string());
        env.set("XDG_DATA_DIRS", (root / "data").string());
        env.set("XDG_CONFIG_HOME", (root / "config").string());
        env.set("XDG_CONFIG_DIRS", (root / "config").string());
        env.set("BROWSER", "fw-no-such-browser");
        for (const char* name :
             {"MAILER", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID",
              "DESKTOP_SESSION", "WAYLAND_DISPLAY", "FW_TEST_HANDLER_EXIT"}) {
            env.set(name, std::nullopt);
        }
        mailer.OnError = [this](MapiMailer&, std::uint32_t result) { errors.push_back(result); };
    }
    void TearDown() override {
        std::error_code ignored;
        if (!root.empty()) fs::remove_all(root, ignored);
    }

    std::multimap<std::string, std::string> received() const {
        return MailtoFields(ReadFile(root / "received"));
    }

    fs::path root;
    fs::path recorder;
    EnvironmentGuard env;
    XdgMailSystem system;
    MapiMailer mailer{system};
    std::vector<std::uint32_t> errors;
};

TEST_F(XdgEmailDelivery, ReportArrivesIntactWithBlanksAndQuotesInTheFileName) {
    const fs::path data = root / "noise \"data\" O'Brien $(touch pwned).txt";
    WriteFile(data, "JO62QM\n");
    PrepareReportMail(mailer,
                      {"Floorwatch", "v 1.0", "noise-report@korvan.example", data.string()});
    mailer.Send(0);

    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(mailer.LastResult(), SUCCESS_SUCCESS);
    const auto fields = received();
    ASSERT_EQ(fields.count("to"), 1u);
    EXPECT_EQ(fields.find("to")->second, "noise-report@korvan.example");
    EXPECT_EQ(fields.find("subject")->second, "Report from Floorwatch v 1.0");
    EXPECT_EQ(fields.find("body")->second,
              "Noise Report from\r\n\r\n--Name--\r\n--Call--\r\n--eMail--\r\n\r\n73");
    ASSERT_EQ(fields.count("attach"), 1u);
    EXPECT_EQ(fields.find("attach")->second, data.string());
    EXPECT_FALSE(fs::exists(root / "pwned"));
    EXPECT_FALSE(fs::exists("pwned"));

    // Characters that mean something in a mailto: URI, and copies, arrive as they are.
    mailer.Subject = "Störung & Rauschen? 100% = S9+10";
    mailer.CcRecipient = {"cc@velmar.example"};
    mailer.MessageBody = {"a;b&c=d", "µV/m"};
    mailer.Send(0);
    EXPECT_TRUE(errors.empty());
    const auto more = received();
    EXPECT_EQ(more.find("cc")->second, "cc@velmar.example");
    EXPECT_EQ(more.find("subject")->second, "Störung & Rauschen? 100% = S9+10");
    EXPECT_EQ(more.find("body")->second, "a;b&c=d\r\nµV/m");
}

TEST_F(XdgEmailDelivery, MissingAttachmentIsReportedAndNothingOpened) {
    mailer.ToRecipient = {"noise-report@korvan.example"};
    mailer.Attachment = {(root / "gone.txt").string()};
    mailer.Send(0);
    EXPECT_EQ(errors, std::vector<std::uint32_t>{MAPI_E_ATTACHMENT_NOT_FOUND});
    EXPECT_FALSE(fs::exists(root / "received"));
}

TEST_F(XdgEmailDelivery, FailingHandlerGivesNonZeroResult) {
    env.set("FW_TEST_HANDLER_EXIT", "1");
    mailer.ToRecipient = {"noise-report@korvan.example"};
    mailer.Send(0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0], SUCCESS_SUCCESS);
}

TEST_F(XdgEmailDelivery, MissingProgramFailsLogonAndSend) {
    XdgMailSystem absent((root / "no-xdg-email").string());
    MapiMailer local(absent);
    local.OnError = [this](MapiMailer&, std::uint32_t result) { errors.push_back(result); };
    local.ToRecipient = {"noise-report@korvan.example"};
    local.Send(0);
    EXPECT_EQ(errors, (std::vector<std::uint32_t>{MAPI_E_NOT_AVAILABLE, MAPI_E_NOT_AVAILABLE}));

    errors.clear();
    env.set("PATH", (root / "empty").string());
    XdgMailSystem onPath;
    MapiSession session = 99;
    EXPECT_EQ(onPath.Logon(0, std::nullopt, std::nullopt, 0, session), MAPI_E_NOT_AVAILABLE);
    EXPECT_EQ(session, 0u);
}

}  // namespace
}  // namespace fw
