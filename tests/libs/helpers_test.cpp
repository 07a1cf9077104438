#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

#include "libs/date_text.h"
#include "libs/fw_math.h"
#include "libs/int_text.h"
#include "libs/sha256.h"
#include "libs/shown_name.h"

namespace fw {
namespace {

// The standard's test vectors, and lengths around the padding's block edges (55/56/64 bytes).
TEST(Sha256Hex, StandardVectorsAndBlockEdges) {
    const struct {
        std::string text, sum;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sha256Hex(c.text), c.sum) << c.text.size();
        // Given in pieces that cut the blocks anywhere, the digest is the same.
        for (const std::size_t piece : {1, 7, 63, 65}) {
            Sha256 sum;
            for (std::size_t at = 0; at < c.text.size() && c.text.size() < 2000; at += piece)
                sum.add(std::string_view(c.text).substr(at, piece));
            if (c.text.size() < 2000) {
                EXPECT_EQ(sum.hex(), c.sum) << c.text.size() << "/" << piece;
            }
        }
    }
}

TEST(ShownFileName, KeepsValidUtf8AndEscapesAnyOtherByte) {
    const struct {
        std::string name, shown;
    } cases[] = {
        {"/daten/Messung \xC3\xA4\xE2\x82\xAC\xF0\x9F\x93\xA1",
         "/daten/Messung \xC3\xA4\xE2\x82\xAC\xF0\x9F\x93\xA1"},
        {"a\xFF"
         "b",
         "a\\xFFb"},
        {"\xC3", "\\xC3"},                    // cut sequence
        {"\xC0\xAF", "\\xC0\\xAF"},           // overlong
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},  // surrogate
        {"line\nbreak\x7F", "line\\x0Abreak\\x7F"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShownFileName(c.name), c.shown) << c.shown;
}

TEST(SafeLog10, DecimalLogarithmAndExactlyZeroForNonPositiveArguments) {
    EXPECT_DOUBLE_EQ(SafeLog10(1000.0), 3.0);
    EXPECT_NEAR(SafeLog10(2700.0), 3.43136, 1e-5);
    for (double x : {0.0, -5.0, -std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_EQ(SafeLog10(x), 0.0) << x;
    EXPECT_NEAR(BandwidthCorrectionDb(10000, 2700), 5.686, 5e-4);
    EXPECT_NEAR(BandwidthCorrectionDb(2700, 10000), -5.686, 5e-4);
    EXPECT_EQ(BandwidthCorrectionDb(2700, 2700), 0.0);
}

TEST(RoundPx, RoundsHalfToEvenAndClampsHugeValuesAndNaN) {
    const std::pair<double, int> cases[] = {{89.5, 90},
                                            {66.5, 66},
                                            {-0.5, 0},
                                            {-1.5, -2},
                                            {2.4999, 2},
                                            {2.5001, 3},
                                            {1e300, 1'000'000'000},
                                            {-1e300, -1'000'000'000},
                                            {std::nan(""), 0}};
    for (const auto& [x, px] : cases) EXPECT_EQ(RoundPx(x), px) << x;
}

TEST(ParseIntText, AcceptsTheFormsOfTheBandwidthBox) {
    EXPECT_EQ(ParseIntText("2700"), 2700);
    EXPECT_EQ(ParseIntText(" 6000"), 6000);
    EXPECT_EQ(ParseIntText("   -500"), -500);
    EXPECT_EQ(ParseIntText("+12"), 12);
    EXPECT_EQ(ParseIntText("0"), 0);
    EXPECT_EQ(ParseIntText("$A8C"), 2700);
    EXPECT_EQ(ParseIntText("$a8c"), 2700);
    EXPECT_EQ(ParseIntText("xA8C"), 2700);
    EXPECT_EQ(ParseIntText("XA8C"), 2700);
    EXPECT_EQ(ParseIntText("0xA8C"), 2700);
    EXPECT_EQ(ParseIntText("0XA8C"), 2700);
    EXPECT_EQ(ParseIntText("-$10"), -16);
    EXPECT_EQ(ParseIntText("007"), 7);
}

TEST(ParseIntText, AcceptsTheWholeSigned32BitRange) {
    EXPECT_EQ(ParseIntText("2147483647"), 2147483647);
    EXPECT_EQ(ParseIntText("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseIntText("$7FFFFFFF"), 2147483647);
}

TEST(ParseIntText, RefusesEverythingElse) {
    for (const char* text :
         {"",          " ",   "6000 ",      "2,7",         "2.7",
          "2700a",     "abc", "-",          "+",           "$",
          "0x",        "x",   "2147483648", "-2147483649", "99999999999999999999",
          "$80000000", "1e3", "\t5",        "5\n",         "- 5",
          "$G"}) {
        EXPECT_FALSE(ParseIntText(text).has_value()) << '"' << text << '"';
    }
}

TEST(DateTexts, SixDigitDateAndSixteenCharacterDateTime) {
    EXPECT_EQ(YymmddText({2026, 12, 6, 8, 5}), "261206");
    EXPECT_EQ(YymmddText({2100, 1, 1, 0, 0}), "000101");  // the first two of eight dropped
    EXPECT_EQ(DateTimeText({2026, 12, 6, 8, 5}), "2026-12-06 08:05");
    EXPECT_EQ(DateTimeText({2026, 1, 31, 23, 59}), "2026-01-31 23:59");
    const LocalTime now = CurrentLocalTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_EQ(DateTimeText(now).size(), 16u);
}

}  // namespace
}  // namespace fw
