// Handing a PDF to CUPS when the print server is not there or does not answer.
#include "output/cups_print.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

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

// A local socket that takes connections into its backlog and never answers them.
class SilentServer {
  public:
    explicit SilentServer(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        listening_ = fd_ >= 0 &&
                     bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                     listen(fd_, 8) == 0;
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    ~SilentServer() {
        if (fd_ >= 0) close(fd_);
    }
    bool listening() const { return listening_; }

  private:
    int fd_;
    bool listening_ = false;
};

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
