#include "real_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace fw {
namespace {

TEST(ParseRealText, ReadsNumbersWithTheGivenSeparator) {
    EXPECT_EQ(ParseRealText("7,1", ','), 7.1);
    EXPECT_EQ(ParseRealText("7.1", '.'), 7.1);
    EXPECT_EQ(ParseRealText("-73", ','), -73.0);
    EXPECT_EQ(ParseRealText("+2,15", ','), 2.15);
    EXPECT_EQ(ParseRealText("0", '.'), 0.0);
    EXPECT_EQ(ParseRealText(",5", ','), 0.5);
    EXPECT_EQ(ParseRealText("5,", ','), 5.0);
    EXPECT_EQ(ParseRealText("13,298542065735", ','), 13.298542065735);
    EXPECT_EQ(ParseRealText("-73,0102999566398", ','), -73.0102999566398);
}

TEST(ParseRealText, ReadsExponents) {
    EXPECT_EQ(ParseRealText("1E-6", ','), 1e-6);
    EXPECT_EQ(ParseRealText("1,5E20", ','), 1.5e20);
    EXPECT_EQ(ParseRealText("2.5e+3", '.'), 2500.0);
    EXPECT_EQ(ParseRealText("-4e2", '.'), -400.0);
}

TEST(ParseRealText, AllowsBlanksAroundTheNumber) {
    EXPECT_EQ(ParseRealText("  3,65  ", ','), 3.65);
    EXPECT_EQ(ParseRealText("\t-1\t", '.'), -1.0);
    EXPECT_EQ(ParseRealText(" --- ", ','), std::nullopt);
}

TEST(ParseRealText, RefusesTheOtherSeparatorAndGarbage) {
    EXPECT_EQ(ParseRealText("7.1", ','), std::nullopt);
    EXPECT_EQ(ParseRealText("7,1", '.'), std::nullopt);
    EXPECT_EQ(ParseRealText("1.000,5", ','), std::nullopt);
    for (const char* bad : {"", " ", "-", "+", ",", "e5", "1e", "1e+", "1,2,3", "12a", "a12", "1 2",
                            "- 1", "--1", "0x10", "$10", "1e5.5", "1;2"}) {
        EXPECT_EQ(ParseRealText(bad, ','), std::nullopt) << '"' << bad << '"';
    }
}

TEST(ParseRealText, RefusesInfinityAndNotANumber) {
    for (const char* bad : {"inf", "-inf", "INF", "infinity", "nan", "NAN", "nan(1)"})
        EXPECT_EQ(ParseRealText(bad, '.'), std::nullopt) << bad;
}

TEST(ParseRealText, OverflowIsRefusedUnderflowGivesZero) {
    EXPECT_EQ(ParseRealText("1e309", '.'), std::nullopt);
    EXPECT_EQ(ParseRealText("-1e99999999999999999999", '.'), std::nullopt);
    EXPECT_EQ(ParseRealText("1e-400", '.'), 0.0);
    EXPECT_EQ(ParseRealText("0.0000001e-99999999999999", '.'), 0.0);
    EXPECT_EQ(ParseRealText("0e99999", '.'), 0.0);
    const auto biggest = ParseRealText("1.7976931348623157e308", '.');
    ASSERT_TRUE(biggest.has_value());
    EXPECT_TRUE(std::isfinite(*biggest));
}

TEST(ParseRealText, ReadsLongTexts) {
    const std::string longText = "1," + std::string(200, '0') + "1";
    EXPECT_EQ(ParseRealText(longText, ','), 1.0);
    EXPECT_EQ(ParseRealText(std::string(100, '0') + "42", '.'), 42.0);
    EXPECT_EQ(ParseRealText(std::string(100, '0') + "42x", '.'), std::nullopt);
}

}  // namespace
}  // namespace fw
