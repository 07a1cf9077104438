// Saving over a read-only file, as an ordinary user: each save is refused with its own message
// and the file stays as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "measure/meas_list.h"
#include "output/picture_files.h"
#include "output/report_page.h"
#include "output/report_render.h"
#include "support/ordinary_user.h"
#include "test_pictures.h"

namespace fw {
namespace {

using test::RunAsOrdinaryUser;
using test::SharedTempDir;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ReadOnlySave, EachSaveRefusesWithItsMessageAndKeepsTheFile) {
    SharedTempDir dir;
    // The PDF is drawn here: the child process only writes.
    NoiseReportTexts texts;
    texts.dateText = "06.12.2026";
    const ReportPage page = BuildNoiseReport(537, 497, MeasList{}, texts, ReportTextWidthMm);
    const QByteArray pdf = ReportPdfBytes(page, QImage(537, 497, QImage::Format_RGB32));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));

    const std::string denied = std::strerror(EACCES);
    using Save = std::function<std::string(const std::string& path)>;
    const Save picture = [](const std::string& p) {
        return SavePictureToFile(test::PatternPicture(4, 4), p).message;
    };
    const Save report = [&pdf](const std::string& p) {
        return SaveReportPdf(std::string_view(pdf.constData(), pdf.size()), p);
    };
    struct Case {
        std::string name;
        Save save;
        std::string message;  // the save's refusal, before the system's reason
    };
    const std::vector<Case> cases = {
        {"p.bmp", picture, "Datei \"" + dir.file("p.bmp") + "\" kann nicht erstellt werden. "},
        {"p.png", picture, "Datei \"" + dir.file("p.png") + "\" kann nicht erstellt werden. "},
        {"p.jpg", picture, "Datei \"" + dir.file("p.jpg") + "\" kann nicht erstellt werden. "},
        {"r.pdf", report, "The report could not be written to \"" + dir.file("r.pdf") + "\": "},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name);
        std::ofstream(path) << "old";
        ASSERT_EQ(chmod(path.c_str(), 0444), 0);
        const std::string report = RunAsOrdinaryUser([&] {
            const std::string got = c.save(path);
            return got == c.message + denied ? std::string() : "got \"" + got + "\"";
        });
        EXPECT_EQ(report, "") << c.name;
        EXPECT_EQ(Read(path), "old") << c.name;
    }
}

}  // namespace
}  // namespace fw
