#include "model/itu_coefficients.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace fw {
namespace {

std::string ShippedText(int month) {
    std::ifstream in(std::string(FW_ITU_DATA_DIR) + ItuCoefficientFileName(month),
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ItuCoefficients, FileNamesOfTheTwelveMonths) {
    EXPECT_EQ(ItuCoefficientFileName(1), "COEFF01W.txt");
    EXPECT_EQ(ItuCoefficientFileName(12), "COEFF12W.txt");
}

// Dec-Jan-Feb, Mar-Apr-May, Jun-Jul-Aug and Sep-Oct-Nov share their noise data, and the
// southern rows of a month are the northern rows of the month six months away.
TEST(ItuCoefficients, AllTwelveFilesLoadWithTheirSeasonalStructure) {
    std::vector<ItuNoiseCoefficients> months;
    for (int m = 1; m <= 12; ++m) {
        const auto c =
            LoadItuCoefficients(std::string(FW_ITU_DATA_DIR) + ItuCoefficientFileName(m));
        ASSERT_TRUE(c.ok()) << c.reason();
        months.push_back(c.value());
    }
    for (int m : {0, 1, 11}) EXPECT_EQ(months[m].f, months[0].f) << m + 1;
    for (int m : {3, 4}) EXPECT_EQ(months[m].d, months[2].d) << m + 1;
    EXPECT_NE(months[0].f, months[2].f);
    for (int row = 0; row < 6; ++row)
        for (int k = 0; k < 14; ++k)
            ASSERT_EQ(months[0].f[14 * (row + 6) + k], months[6].f[14 * row + k]) << row << k;
}

TEST(ItuCoefficients, DamagedTextsAreRefusedNamingFileAndArray) {
    const std::string good = ShippedText(1);
    ASSERT_TRUE(ParseItuCoefficients(good, "x").ok());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const std::string famValues = "fam(14,12)\n";
    const struct {
        std::string text, reason;
    } cases[] = {
        {"", "no array fakp(29,16,6)"},
        {replaced("dud(5,12,5)", "dud(5,12,6)"), "no array dud(5,12,5)"},
        {replaced("fakabp(2,6)", " fakabp(2,6)"), "no array fakabp(2,6)"},
        {good.substr(0, good.find(famValues) + famValues.size() + 32),
         "array fam(14,12) ends after 2 of 168 values"},
        {replaced("  0.84990568E+01", "  0.84990568E+0x"),
         "array fakp(29,16,6) holds \"0.84990568E+0x\" after 0 values, which is no number"},
        {replaced("  0.84990568E+01", "             nan"),
         "array fakp(29,16,6) holds \"nan\" after 0 values, which is no number"},
        // fakabp runs into the header of the array after it.
        {replaced("  0.30203259E+02  0.46708026E+01\n", "  0.30203259E+02\n"),
         "array fakabp(2,6) holds \"dud(5,12,5)\" after 11 values, which is no number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        const auto parsed = ParseItuCoefficients(c.text, "/data/COEFF01W.txt");
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.reason(),
                  "The ITU-R P.372 coefficient file \"/data/COEFF01W.txt\" is "
                  "damaged: " +
                      c.reason + ".");
    }
}

TEST(ItuCoefficients, CarriageReturnLineEndsAreRead) {
    std::string crlf;
    for (char ch : ShippedText(1)) {
        if (ch == '\n') crlf += '\r';
        crlf += ch;
    }
    const auto parsed = ParseItuCoefficients(crlf, "x");
    ASSERT_TRUE(parsed.ok()) << parsed.reason();
    EXPECT_EQ(parsed->f, ParseItuCoefficients(ShippedText(1), "x")->f);
}

TEST(ItuCoefficients, MissingAndUnreadableFilesAreNamed) {
    const std::string missing = testing::TempDir() + "no-such-folder/COEFF01W.txt";
    const auto a = LoadItuCoefficients(missing);
    ASSERT_FALSE(a.ok());
    EXPECT_EQ(a.reason(), "The ITU-R P.372 coefficient file \"" + missing + "\" was not found.");
    const auto b = LoadItuCoefficients(testing::TempDir());  // a folder, not a file
    ASSERT_FALSE(b.ok());
    EXPECT_NE(b.reason().find("\"" + testing::TempDir() + "\""), std::string::npos);
}

}  // namespace
}  // namespace fw
