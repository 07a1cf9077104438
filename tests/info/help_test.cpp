#include "info/help.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

TEST_F(HelpDocuments, ExistingDocumentIsOpenedByItsFullName) {
    std::ofstream(dir + "FloorwatchDE.pdf") << "%PDF-1.4\n";
    fs::create_directory(dir + "FloorwatchEN.pdf");  // a folder of that name is no document
    EXPECT_EQ(OpenHelp(dir, HelpFileGerman, recorder()), std::nullopt);
    EXPECT_EQ(OpenHelp(dir, HelpFileEnglish, recorder()).value_or(Message{}).kind, MessageKind::Warning);
    EXPECT_EQ(opened, std::vector<std::string>{dir + "FloorwatchDE.pdf"});
}

TEST_F(HelpDocuments, OpenDocumentRefusesMissingFileWithGermanError) {
    const std::string name = dir + "weg.pdf";
    const auto error = OpenDocument(name, recorder());
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Die Datei " + name + " konnte nicht gefunden werden!");
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace fw
