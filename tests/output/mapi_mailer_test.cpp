#include "output/mapi_mailer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "output/report_mail.h"

namespace fw {
namespace {

struct LogonCall {
    std::optional<std::string> profile;
    std::optional<std::string> password;
    std::uint32_t flags;
};

class CountingCursor : public BusyCursor {
  public:
    void show() override { ++shown; }
    void restore() override { ++restored; }
    bool busy() const { return shown > restored; }
    int shown = 0;
    int restored = 0;
};

// Records every call and answers with the configured results.
class RecordingMailSystem : public MailSystem {
  public:
    std::string DefaultProfileName() override { return defaultProfile; }
    std::uint32_t Logon(MapiWindow, const std::optional<std::string>& profile,
                        const std::optional<std::string>& password, std::uint32_t flags,
                        MapiSession& session) override {
        logons.push_back({profile, password, flags});
        const std::size_t attempt = logons.size() - 1;
        const std::uint32_t result =
            attempt < logonResults.size() ? logonResults[attempt] : SUCCESS_SUCCESS;
        session = result == SUCCESS_SUCCESS ? 4711 : 0;
        return result;
    }
    std::uint32_t SendMail(MapiSession session, MapiWindow parent, const MapiMessage& message,
                           std::uint32_t flags) override {
        ++sends;
        sentSession = session;
        sentParent = parent;
        sentMessage = message;
        sentFlags = flags;
        cursorBusyDuringSend = cursor && cursor->busy();
        if (throwOnSend) throw std::runtime_error("mail program crashed");
        return sendResult;
    }
    std::uint32_t Logoff(MapiSession session) override {
        logoffs.push_back(session);
        return logoffResult;
    }

    std::string defaultProfile = "Outlook";
    std::vector<std::uint32_t> logonResults;
    std::uint32_t sendResult = SUCCESS_SUCCESS;
    std::uint32_t logoffResult = SUCCESS_SUCCESS;
    bool throwOnSend = false;
    const CountingCursor* cursor = nullptr;

    std::vector<LogonCall> logons;
    int sends = 0;
    MapiSession sentSession = 0;
    MapiWindow sentParent = 0;
    MapiMessage sentMessage;
    std::uint32_t sentFlags = 0;
    bool cursorBusyDuringSend = false;
    std::vector<MapiSession> logoffs;
};

class MapiMailerTest : public ::testing::Test {
  protected:
    MapiMailerTest() {
        system.cursor = &cursor;
        mailer.OnError = [this](MapiMailer& sender, std::uint32_t result) {
            EXPECT_EQ(&sender, &mailer);
            errors.push_back(result);
        };
    }

    RecordingMailSystem system;
    CountingCursor cursor;
    MapiMailer mailer{system, &cursor};
    std::vector<std::uint32_t> errors;
};

TEST_F(MapiMailerTest, ReportMailFillsEveryFieldOfTheMessage) {
    mailer.CcRecipient = {"left@over.example"};  // cleared by the preparation
    PrepareReportMail(
        mailer, {"Floorwatch", "v 1.0", "box@club.example", "/home/op/noise data/260301_JO62.txt"});
    EXPECT_EQ(mailer.Options, 9u);
    mailer.Send(0x1234);

    ASSERT_EQ(system.sends, 1);
    const MapiMessage& m = system.sentMessage;
    EXPECT_EQ(m.reserved, 0u);
    EXPECT_EQ(m.subject, "Report from Floorwatch v 1.0");
    EXPECT_EQ(m.noteText,
              "Noise Report from\r\n\r\n--Name--\r\n--Call--\r\n--eMail--\r\n\r\n73\r\n");
    EXPECT_FALSE(m.messageType);
    EXPECT_FALSE(m.dateReceived);
    EXPECT_FALSE(m.conversationId);
    EXPECT_EQ(m.flags, 0u);
    EXPECT_FALSE(m.originator);

    ASSERT_EQ(m.recips.size(), 1u);
    EXPECT_EQ(m.recips[0].reserved, 0u);
    EXPECT_EQ(m.recips[0].recipClass, MAPI_TO);
    EXPECT_EQ(m.recips[0].name, "box@club.example");
    EXPECT_EQ(m.recips[0].address, "SMTP:box@club.example");
    EXPECT_EQ(m.recips[0].entryIdSize, 0u);

    ASSERT_EQ(m.files.size(), 1u);
    EXPECT_EQ(m.files[0].reserved, 0u);
    EXPECT_EQ(m.files[0].flags, 0u);
    EXPECT_EQ(m.files[0].position, 0xFFFFFFFFu);
    EXPECT_EQ(m.files[0].pathName, "/home/op/noise data/260301_JO62.txt");
    EXPECT_EQ(m.files[0].fileName, "260301_JO62.txt");
    EXPECT_FALSE(m.files[0].fileType);

    EXPECT_EQ(system.sentFlags, MAPI_DIALOG);
    EXPECT_EQ(system.sentParent, 0x1234u);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(mailer.LastResult(), SUCCESS_SUCCESS);
}

TEST_F(MapiMailerTest, RecipientsInClassOrderFilesInListOrderAndTheComposeWindowFlag) {
    mailer.BccRecipient = {"b1"};
    mailer.CcRecipient = {"c1", "c2"};
    mailer.ToRecipient = {"t1"};
    mailer.Attachment = {"/a/b/first.txt", "second.txt", "/dir/"};
    auto message = mailer.BuildMessage();
    ASSERT_EQ(message.recips.size(), 4u);
    const std::vector<std::pair<std::uint32_t, std::string>> expected{
        {MAPI_TO, "t1"}, {MAPI_CC, "c1"}, {MAPI_CC, "c2"}, {MAPI_BCC, "b1"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(message.recips[i].recipClass, expected[i].first);
        EXPECT_EQ(message.recips[i].name, expected[i].second);
        EXPECT_EQ(message.recips[i].address, "SMTP:" + expected[i].second);
    }
    ASSERT_EQ(message.files.size(), 3u);
    EXPECT_EQ(message.files[0].fileName, "first.txt");
    EXPECT_EQ(message.files[1].fileName, "second.txt");
    EXPECT_EQ(message.files[1].pathName, "second.txt");
    EXPECT_EQ(message.files[2].fileName, "");
    mailer.Options |= moNoSTMPIdent;
    EXPECT_EQ(mailer.BuildMessage().recips[3].address, "b1");

    // Without moShowDialog the compose window is still forced when there is no To recipient.
    mailer.Options = moUseDefaultProfile;
    EXPECT_EQ(mailer.SendFlags(), 0u);
    mailer.ToRecipient.clear();
    EXPECT_EQ(mailer.SendFlags(), MAPI_DIALOG);
}

TEST_F(MapiMailerTest, LogonUsesDefaultProfileThenSessionIsLoggedOff) {
    mailer.ToRecipient = {"a@b.example"};
    mailer.Send(0);
    ASSERT_EQ(system.logons.size(), 1u);
    EXPECT_EQ(system.logons[0].profile, std::optional<std::string>("Outlook"));
    EXPECT_FALSE(system.logons[0].password);
    EXPECT_EQ(system.logons[0].flags, 0u);
    EXPECT_EQ(system.sentSession, 4711u);
    EXPECT_EQ(system.logoffs, std::vector<MapiSession>{4711});
    EXPECT_EQ(mailer.Session(), 0u);
}

TEST_F(MapiMailerTest, LogonOptionsSetFlagsAndOwnProfile) {
    mailer.Options = moCreateNewSession | moLogonUI;
    mailer.ProfileName = "Field";
    mailer.Password = "secret";
    system.logonResults = {MAPI_E_LOGIN_FAILURE};
    mailer.Send(0);
    ASSERT_EQ(system.logons.size(), 2u);
    EXPECT_EQ(system.logons[0].profile, std::optional<std::string>("Field"));
    EXPECT_EQ(system.logons[0].password, std::optional<std::string>("secret"));
    EXPECT_EQ(system.logons[0].flags, MAPI_NEW_SESSION | MAPI_LOGON_UI);
    EXPECT_EQ(system.logons[1].flags, MAPI_NEW_SESSION | MAPI_LOGON_UI);
}

TEST_F(MapiMailerTest, SecondLogonAsksTheUserWhenTheFirstFails) {
    system.logonResults = {MAPI_E_LOGIN_FAILURE, SUCCESS_SUCCESS};
    mailer.Send(0);
    ASSERT_EQ(system.logons.size(), 2u);
    EXPECT_FALSE(system.logons[1].profile);
    EXPECT_FALSE(system.logons[1].password);
    EXPECT_EQ(system.logons[1].flags, MAPI_LOGON_UI);
    EXPECT_EQ(system.sentSession, 4711u);
    EXPECT_EQ(system.logoffs.size(), 1u);
    EXPECT_TRUE(errors.empty());
}

TEST_F(MapiMailerTest, FailedLogonsReportAndSendWithoutSession) {
    system.logonResults = {MAPI_E_LOGIN_FAILURE, MAPI_E_NOT_AVAILABLE};
    system.sendResult = MAPI_E_NOT_AVAILABLE;
    mailer.Send(0);
    EXPECT_EQ(errors, (std::vector<std::uint32_t>{MAPI_E_NOT_AVAILABLE, MAPI_E_NOT_AVAILABLE}));
    EXPECT_EQ(system.sends, 1);
    EXPECT_EQ(system.sentSession, 0u);
    EXPECT_TRUE(system.logoffs.empty());
    EXPECT_EQ(cursor.shown, 1);
    EXPECT_EQ(cursor.restored, 1);
    EXPECT_EQ(mailer.LastResult(), MAPI_E_NOT_AVAILABLE);
}

TEST_F(MapiMailerTest, RecipientLimitCountsAllThreeListsAndAttachmentsHaveTheirOwn) {
    mailer.ToRecipient.assign(1000, "t@x.example");
    mailer.CcRecipient.assign(1000, "c@x.example");
    mailer.BccRecipient.assign(730, "b@x.example");
    mailer.Attachment.assign(2730, "/f");
    mailer.Send(0);
    EXPECT_EQ(system.sends, 1);
    EXPECT_TRUE(errors.empty());

    mailer.Attachment.push_back("/one/too/many");
    mailer.Send(0);
    mailer.BccRecipient.push_back("one@too.many");
    mailer.Send(0);
    EXPECT_EQ(system.sends, 1);
    EXPECT_EQ(errors,
              (std::vector<std::uint32_t>{MAPI_E_TOO_MANY_FILES, MAPI_E_TOO_MANY_RECIPIENTS}));
    EXPECT_EQ(mailer.LastResult(), MAPI_E_TOO_MANY_RECIPIENTS);
    // The sessions opened for the refused sends are closed again; no busy cursor was shown.
    EXPECT_EQ(system.logoffs.size(), 3u);
    EXPECT_EQ(cursor.shown, 1);
    EXPECT_EQ(cursor.restored, 1);
}

TEST_F(MapiMailerTest, SendAndLogoffFailuresAreReportedAndCursorRestored) {
    system.sendResult = MAPI_E_ATTACHMENT_NOT_FOUND;
    system.logoffResult = MAPI_E_FAILURE;
    mailer.Send(0);
    EXPECT_TRUE(system.cursorBusyDuringSend);
    EXPECT_FALSE(cursor.busy());
    EXPECT_EQ(errors, (std::vector<std::uint32_t>{MAPI_E_ATTACHMENT_NOT_FOUND, MAPI_E_FAILURE}));
    // The send's own failure stays the outcome.
    EXPECT_EQ(mailer.LastResult(), MAPI_E_ATTACHMENT_NOT_FOUND);

    errors.clear();
    system.sendResult = SUCCESS_SUCCESS;
    mailer.Send(0);
    EXPECT_EQ(errors, std::vector<std::uint32_t>{MAPI_E_FAILURE});
    EXPECT_EQ(mailer.LastResult(), MAPI_E_FAILURE);
}

TEST_F(MapiMailerTest, CursorRestoredAndSessionClosedWhenTheMailSystemThrows) {
    system.throwOnSend = true;
    {
        MapiMailer local(system, &cursor);
        EXPECT_THROW(local.Send(0), std::runtime_error);
        EXPECT_TRUE(system.cursorBusyDuringSend);
        EXPECT_FALSE(cursor.busy());
        EXPECT_EQ(local.Session(), 4711u);
    }
    EXPECT_EQ(system.logoffs, std::vector<MapiSession>{4711});
}

}  // namespace
}  // namespace fw
