// The "Information" menu and "Send eMail ..." in the main window.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include "app/info/info_controller.h"
#include "app/info/mail_controller.h"
#include "info/links.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

// Records what the mail command hands over, and whether the hourglass was up meanwhile.
class RecordingMail : public MailSystem {
  public:
    std::string DefaultProfileName() override { return {}; }
    std::uint32_t Logon(MapiWindow, const std::optional<std::string>&,
                        const std::optional<std::string>&, std::uint32_t,
                        MapiSession& session) override {
        session = 7;
        return SUCCESS_SUCCESS;
    }
    std::uint32_t SendMail(MapiSession, MapiWindow, const MapiMessage& message,
                           std::uint32_t flags) override {
        messages.push_back(message);
        sentFlags = flags;
        cursorDuringSend = QGuiApplication::overrideCursor() != nullptr;
        return result;
    }
    std::uint32_t Logoff(MapiSession) override {
        ++logoffs;
        return SUCCESS_SUCCESS;
    }

    std::uint32_t result = SUCCESS_SUCCESS;
    std::vector<MapiMessage> messages;
    std::uint32_t sentFlags = 0;
    bool cursorDuringSend = false;
    int logoffs = 0;
};

}  // namespace

class InfoMailTest : public QObject {
    Q_OBJECT

  private slots:
    void aboutShowsVersionCopyrightAndLicence() {
        WindowFixture f;
        f.c().actions.about->trigger();
        QCOMPARE(f.dialogs.messages.size(), size_t(1));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Informationen"));
        QVERIFY(f.dialogs.messages[0].text.startsWith(
            QStringLiteral("Floorwatch v 1.0\r\n(c) 2026 The Floorwatch authors\r\n\r\nFree "
                           "software under the GNU General Public License, version 3;")));
    }

    void missingHelpDocumentsWarnWithFullNames() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs, dir.filePath(QStringLiteral("floorwatch")));
        std::vector<std::string> opened;
        info(window).setOpener([&](const std::string& target) { opened.push_back(target); });

        window.controls().actions.help->trigger();
        window.controls().actions.helpGerman->trigger();
        const QString folder = QDir(dir.path()).absolutePath() + QLatin1Char('/');
        const std::vector<ShownMessage> expected{
            {WarningTitle, folder + QStringLiteral("FloorwatchEN.pdf could not be found!")},
            {WarningTitle, folder + QStringLiteral("FloorwatchDE.pdf could not be found!")}};
        QCOMPARE(dialogs.messages, expected);
        QVERIFY(opened.empty());

        // With the document beside the program the same item opens it and says nothing.
        QFile document(dir.filePath(QStringLiteral("FloorwatchDE.pdf")));
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.close();
        window.controls().actions.helpGerman->trigger();
        QCOMPARE(dialogs.messages.size(), size_t(2));
        QCOMPARE(opened, std::vector<std::string>{(folder + "FloorwatchDE.pdf").toStdString()});
    }

    void webItemsOpenTheirAddresses() {
        WindowFixture f;
        std::vector<std::string> opened;
        info(*f.window).setOpener([&](const std::string& target) { opened.push_back(target); });
        AppSettings s = f.window->document().settings();
        s.korvanUrl = "https://korvan.test/";
        s.velmarUrl = "https://velmar.test/r1/";
        f.window->document().setSettings(s);
        f.c().actions.linkKorvan->trigger();
        f.c().actions.linkVelmar->trigger();
        f.c().actions.downloadItu->trigger();
        const std::vector<std::string> expected{"https://korvan.test/", "https://velmar.test/r1/",
                                                "https://www.itu.int/rec/R-REC-P.372/en"};
        QCOMPARE(opened, expected);
        QVERIFY(f.dialogs.messages.empty());
    }

    // Without a distributor's or user's address a link says so and where to set it.
    void webItemWithoutAddressSaysWhereToSetIt() {
        WindowFixture f;
        std::vector<std::string> opened;
        info(*f.window).setOpener([&](const std::string& target) { opened.push_back(target); });
        QVERIFY(f.window->document().settings().korvanUrl.empty());
        f.c().actions.linkKorvan->trigger();
        QVERIFY(opened.empty());
        QCOMPARE(f.dialogs.messages.size(), size_t(1));
        QCOMPARE(f.dialogs.messages[0].title, InformationTitle);
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("\"Korvan\"")));
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("File > Settings")));
    }

    // "Settings…" stores what the dialog returns in the settings file; a new window reads it.
    void settingsAreEditedAndKept() {
        AppSettings edited;
        {
            WindowFixture f;
            QVERIFY(f.c().actions.settings->isEnabled());
            edited = f.window->document().settings();
            edited.reportRecipient = "noise@club.test";
            edited.log.logEntries = true;
            f.dialogs.settingsAnswers = {std::nullopt, edited};
            f.c().actions.settings->trigger();  // cancelled: nothing changes
            QVERIFY(f.window->document().settings().reportRecipient.empty());
            f.c().actions.settings->trigger();
            QCOMPARE(f.window->document().settings().reportRecipient, edited.reportRecipient);
            QVERIFY(f.dialogs.messages.empty());
        }
        WindowFixture again;
        QCOMPARE(again.window->document().settings().reportRecipient, edited.reportRecipient);
        QVERIFY(again.window->document().settings().log.logEntries);
        edited = again.window->document().settings();
        edited.reportRecipient.clear();
        edited.log.logEntries = false;
        again.dialogs.settingsAnswers = {edited};
        again.c().actions.settings->trigger();  // back to the defaults for the other tests
    }

    void mailRefusedWithoutDataFile() {
        WindowFixture f;
        RecordingMail mail;
        f.window->findChild<MailController*>()->setMailSystem(&mail);
        f.c().actions.sendMail->trigger();
        const std::vector<ShownMessage> expected{
            {InformationTitle, QStringLiteral("Please save or load USER Data first, before "
                                              "submitting your data via eMail!")}};
        QCOMPARE(f.dialogs.messages, expected);
        QVERIFY(mail.messages.empty());
    }

    void mailCarriesTheReportAndTheDataFile() {
        WindowFixture f;
        RecordingMail mail;
        mail.result = MAPI_E_FAILURE;  // a failing mail program shows no message
        f.window->findChild<MailController*>()->setMailSystem(&mail);
        f.window->document().setDataFile("/home/op/261206_USER_Data.txt");
        AppSettings s = f.window->document().settings();
        s.reportRecipient = "noise@club.test";
        f.window->document().setSettings(s);
        f.c().actions.sendMail->trigger();

        QCOMPARE(mail.messages.size(), size_t(1));
        const MapiMessage& m = mail.messages[0];
        // The texts come from the report preparation, which its own tests check.
        QCOMPARE(m.subject, std::string("Report from Floorwatch v 1.0"));
        QCOMPARE(m.recips.size(), size_t(1));
        QCOMPARE(m.recips[0].address, std::string("SMTP:noise@club.test"));
        QCOMPARE(m.files.size(), size_t(1));
        QCOMPARE(m.files[0].pathName, f.state().UserDataFile);
        QCOMPARE(m.files[0].fileName, std::string("261206_USER_Data.txt"));
        QCOMPARE(mail.sentFlags, MAPI_DIALOG);
        QVERIFY(mail.cursorDuringSend);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(mail.logoffs, 1);
        QVERIFY(f.dialogs.messages.empty());
    }

    // Without a recipient the composer opens with no "To" for the user to fill in.
    void mailWithoutRecipientLeavesItToTheUser() {
        WindowFixture f;
        RecordingMail mail;
        f.window->findChild<MailController*>()->setMailSystem(&mail);
        f.window->document().setDataFile("/home/op/261206_USER_Data.txt");
        f.c().actions.sendMail->trigger();
        QCOMPARE(mail.messages.size(), size_t(1));
        QVERIFY(mail.messages[0].recips.empty());
        QCOMPARE(mail.sentFlags, MAPI_DIALOG);
        QCOMPARE(mail.messages[0].files.size(), size_t(1));
    }

  private:
    static InfoController& info(MainWindow& window) { return *window.findChild<InfoController*>(); }

    // Where nothing can show a web page, the reason appears in a message box.
    void openingWithNothingToOpenItSaysWhy() {
        QTemporaryDir dir;
        QFile opener(dir.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nexit 3\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                              QFile::ExeOther);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()));
        WindowFixture f;
        f.c().actions.downloadItu->trigger();
        QTRY_COMPARE(f.dialogs.messages.size(), 1u);
        qputenv("PATH", path);
        QCOMPARE(f.dialogs.messages[0].title, WarningTitle);
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("status 3")));
    }
};

FW_WINDOW_TEST(InfoMailTest);

}  // namespace fw::testing

#include "info_mail_qtest.moc"
