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

namespace fw {
namespace {

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
