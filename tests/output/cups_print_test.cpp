// Handing a PDF to CUPS when the print server is not there or does not answer.
#include "output/cups_print.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <thread>

#include "support/silent_server.h"

namespace fw {
namespace {

// Runs `work` with CUPS_SERVER set to `server`: in a fresh thread, as CUPS reads the setting
// once per thread.
void WithCupsServer(const std::string& server, const std::function<void()>& work) {
    const bool had = qEnvironmentVariableIsSet("CUPS_SERVER");
    const QByteArray saved = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QByteArray::fromStdString(server));
    std::thread(work).join();
    if (had)
        qputenv("CUPS_SERVER", saved);
    else
        qunsetenv("CUPS_SERVER");
}

using testing::SilentServer;

TEST(CupsPrint, ServerThatIsMissingOrSilentIsAReasonNotAHang) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string silentPath = dir.filePath("silent.sock").toStdString();
    SilentServer silent(silentPath);
    ASSERT_TRUE(silent.listening());

    struct Case {
        std::string server;
        std::string reason;
    };
    const Case cases[] = {
        {dir.filePath("missing.sock").toStdString(),
         "the print server \"" + dir.filePath("missing.sock").toStdString() +
             "\" cannot be reached"},
        {silentPath, "the print server did not answer within 1 s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        std::string reason;
        WithCupsServer(c.server, [&] { reason = PrintPdfOnCups("Queue", "t", "%PDF-1.4", {}, 1); });
        EXPECT_EQ(reason, c.reason);
    }
}

TEST(CupsPrint, NothingToPrintOrNoPrinterIsRefusedBeforeAsking) {
    EXPECT_EQ(PrintPdfOnCups("", "t", "%PDF-1.4", {}), "no printer is chosen");
    EXPECT_EQ(PrintPdfOnCups("Queue", "t", "", {}), "there is nothing to print");
}

}  // namespace
}  // namespace fw
