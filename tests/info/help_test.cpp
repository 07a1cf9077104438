#include "help.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "links.h"

namespace fw {
namespace {

namespace fs = std::filesystem;

class HelpDocuments : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/fw-help-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = std::string(pattern) + "/";
    }
    void TearDown() override { fs::remove_all(dir); }
    Opener recorder() {
        return [this](const std::string& target) { opened.push_back(target); };
    }

    std::string dir;
    std::vector<std::string> opened;
};

TEST_F(HelpDocuments, MissingDocumentsWarnWithTheirOwnFullNames) {
    for (const auto file : {HelpFileEnglish, HelpFileGerman}) {
        const InfoMessage message = OpenHelp(dir, file, recorder());
        EXPECT_EQ(message.kind, InfoMessage::Kind::Warning);
        EXPECT_EQ(message.text, dir + std::string(file) + " could not be found!");
    }
    EXPECT_TRUE(opened.empty());
}

TEST_F(HelpDocuments, ExistingDocumentIsOpenedByItsFullName) {
    std::ofstream(dir + "FloorwatchDE.pdf") << "%PDF-1.4\n";
    fs::create_directory(dir + "FloorwatchEN.pdf");  // a folder of that name is no document
    EXPECT_EQ(OpenHelp(dir, HelpFileGerman, recorder()).kind, InfoMessage::Kind::None);
    EXPECT_EQ(OpenHelp(dir, HelpFileEnglish, recorder()).kind, InfoMessage::Kind::Warning);
    EXPECT_EQ(opened, std::vector<std::string>{dir + "FloorwatchDE.pdf"});
}

TEST_F(HelpDocuments, OpenDocumentRefusesMissingFileWithGermanError) {
    const std::string name = dir + "weg.pdf";
    const auto error = OpenDocument(name, recorder());
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Die Datei " + name + " konnte nicht gefunden werden!");
    EXPECT_TRUE(opened.empty());
}

TEST(AboutText, SixLinesEachEndingInCrLf) {
    EXPECT_EQ(AboutText("(c) 2026 The Floorwatch authors"),
              "(c) 2026 The Floorwatch authors\r\n\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(AboutText(""), "\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(Links, AddressesAreWellFormed) {
    for (const auto url : {KorvanUrl, VelmarRegion1Url, ItuP372Url}) {
        EXPECT_EQ(url.rfind("https://", 0), 0u) << url;
        EXPECT_EQ(url.find_first_of(" \"'<>"), std::string_view::npos) << url;
    }
    EXPECT_EQ(ItuP372Url, "https://www.itu.int/rec/R-REC-P.372/en");
    EXPECT_NE(ReportMailbox.find('@'), std::string_view::npos);
}

}  // namespace
}  // namespace fw
