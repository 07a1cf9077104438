#include "model/itu_coefficients.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "libs/sha256.h"
#include "model/atmospheric_noise.h"

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
        // A tab inside a number splits it; the array's last value is then one too many.
        {replaced("  0.84990568E+01", "  0.849\t90568E+01"),
         "array fakp(29,16,6) holds more than its 2784 values"},
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
    // A pipe is refused at once instead of waiting for a writer; a name that is no UTF-8
    // is shown escaped.
    const std::string pipe = testing::TempDir() + "fw-\xFF-COEFF01W.txt";
    std::remove(pipe.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(LoadItuCoefficients(pipe).reason(),
              "The ITU-R P.372 coefficient file \"" + testing::TempDir() +
                  "fw-\\xFF-COEFF01W.txt\" is no regular file (a folder, pipe or device) and is "
                  "not read.");
    std::remove(pipe.c_str());
}

// The sums in the list are checked before parsing; a list line of another form is named.
TEST(ItuCoefficients, ChecksumListRefusesAChangedFileAndADamagedList) {
    const std::string path = std::string(FW_ITU_DATA_DIR) + "COEFF03W.txt";
    const auto list = ParseChecksumList("\n" + Sha256Hex(ShippedText(3)) + "  COEFF03W.txt\r\n" +
                                            std::string(64, 'a') + " *COEFF04W.txt\n",
                                        "SUMS");
    ASSERT_TRUE(list.ok()) << list.reason();
    EXPECT_TRUE(LoadItuCoefficients(path, &list.value()).ok());
    ChecksumList changed = list.value();
    changed["COEFF03W.txt"][0] ^= 1;
    EXPECT_NE(LoadItuCoefficients(path, &changed).reason().find("is damaged or changed"),
              std::string::npos);
    for (const char* bad : {"abc  COEFF01W.txt\n", "x\n", "\n\n123"})
        EXPECT_EQ(ParseChecksumList(bad, "/d/SUMS").reason(),
                  std::string("The list of SHA-256 sums \"/d/SUMS\" is damaged: line ") +
                      (bad[0] == '\n' ? "3" : "1") + " is no sum and file name.");
}

// A figure that is no number or lies far outside what atmospheric noise reaches is named.
TEST(ItuCoefficients, ImplausibleFiguresAreNamed) {
    const struct {
        AtmosphericNoise n;
        std::string what;
    } cases[] = {
        {{40, 9, 8, 5, 3, 3}, ""},
        {{-99, 0, 1, 0, 0, 0}, ""},
        {{-HUGE_VAL, 9, 8, 5, 3, 3}, "Fa = -inf dB at 3.65 MHz"},
        {{150, 60, 8, 5, 3, 3}, "Fa + Du = 210 dB at 3.65 MHz"},
        {{-60, 9, 41, 5, 3, 3}, "Fa - Dl = -101 dB at 3.65 MHz"},
        {{40, 9, 8, 5, NAN, 3}, "sigma Du = nan dB at 3.65 MHz"},
    };
    for (const auto& c : cases) EXPECT_EQ(ImplausibleFigure(c.n, 3.65), c.what);
}

}  // namespace
}  // namespace fw
