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

#include "output/picture_files.h"
#include "output/qt/report_render.h"
#include "support/ordinary_user.h"
#include "support/read_file.h"
#include "test_pictures.h"

namespace fw {
namespace {

using test::RunAsOrdinaryUser;
using test::SharedTempDir;

TEST(ReadOnlySave, EachSaveRefusesWithItsMessageAndKeepsTheFile) {
    SharedTempDir dir;
    // The report's save writes whatever PDF it is given; drawing one is not the point here.
    const std::string pdf = "%PDF-1.4\n%%EOF\n";

    const std::string denied = std::strerror(EACCES);
    using Save = std::function<std::string(const std::string& path)>;
    const Save picture = [](const std::string& p) {
        return SavePictureToFile(test::PatternPicture(4, 4), p).message;
    };
    const Save reportPdf = [&pdf](const std::string& p) { return SaveReportPdf(pdf, p); };
    struct Case {
        std::string name;
        Save save;
        std::string message;  // the save's refusal, before the system's reason
    };
    const std::vector<Case> cases = {
        {"p.bmp", picture, "Datei \"" + dir.file("p.bmp") + "\" kann nicht erstellt werden. "},
        {"p.png", picture, "Datei \"" + dir.file("p.png") + "\" kann nicht erstellt werden. "},
        {"p.jpg", picture, "Datei \"" + dir.file("p.jpg") + "\" kann nicht erstellt werden. "},
        {"r.pdf", reportPdf, "The report could not be written to \"" + dir.file("r.pdf") + "\": "},
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
        EXPECT_EQ(test::ReadWholeFile(path), "old") << c.name;
    }
}

}  // namespace
}  // namespace fw
