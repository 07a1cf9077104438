// Handing a PDF to CUPS when the print server is not there or does not answer.
#include "output/cups_print.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <string>
#include <thread>

#include "support/silent_server.h"

namespace fw {
namespace {

using testing::SilentServer;

// Runs `work` with CUPS_SERVER set to `server`, in a fresh thread.
void WithCupsServer(const std::string& server, const std::function<void()>& work) {
    const testing::CupsServerSetting setting(server);
    std::thread(work).join();
}

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
