#include "libs/real_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
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

TEST(ParseRealText, RefusesAnEmptyViewWithoutData) {
    const std::string_view none;
    ASSERT_EQ(none.data(), nullptr);
    EXPECT_EQ(ParseRealText(none, '.'), std::nullopt);
    double out = 42.0;
    EXPECT_FALSE(ParseRealText(none, ',', out));
    EXPECT_EQ(out, 42.0);
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

// The value std::from_chars gives for the same text written with a point.
double Reference(std::string text, char sep) {
    for (char& c : text)
        if (c == sep) c = '.';
    const char* begin = text.data();
    if (*begin == '+') ++begin;  // from_chars takes no plus sign
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, text.data() + text.size(), value);
    EXPECT_TRUE(ec == std::errc() && ptr == text.data() + text.size()) << text;
    return value;
}

void ExpectSameAsReference(const std::string& text, char sep) {
    const auto value = ParseRealText(text, sep);
    ASSERT_TRUE(value.has_value()) << text;
    const double expected = Reference(text, sep);
    // Bit for bit: the short path must round exactly like the general conversion.
    EXPECT_EQ(std::memcmp(&*value, &expected, sizeof expected), 0)
        << text << " read as " << *value << ", expected " << expected;
}

// Random decimal texts of every length up to 22 digits, with the separator anywhere or
// absent, signs, exponents and runs of zeros: across the short path and its limits.
TEST(ParseRealText, RandomDecimalsRoundLikeFromChars) {
    std::mt19937_64 random(20261206);
    const auto pick = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    for (int n = 0; n < 200'000; ++n) {
        const char sep = n % 2 ? ',' : '.';
        std::string text;
        if (pick(0, 3) == 0) text += pick(0, 1) ? '-' : '+';
        const int digits = pick(1, 22);
        const int point = pick(-1, digits);  // -1: no separator
        for (int k = 0; k < digits; ++k) {
            if (k == point) text += sep;
            const int kind = pick(0, 9);  // some zero runs and nines, as rounding meets them
            text += static_cast<char>('0' + (kind == 0 ? 0 : kind == 1 ? 9 : pick(0, 9)));
        }
        if (point == digits) text += sep;
        if (pick(0, 3) == 0) {
            text += pick(0, 1) ? 'e' : 'E';
            text += std::to_string(pick(-40, 40));
        }
        ExpectSameAsReference(text, sep);
        if (HasFailure()) return;
    }
}

// Doubles as the data file writes them (15 significant digits), and the shortest and the
// 17-digit texts that read back to the same double.
TEST(ParseRealText, RandomDoublesRoundLikeFromChars) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> magnitude(-12, 12);
    for (int n = 0; n < 100'000; ++n) {
        const double v = mantissa(random) * std::pow(10.0, magnitude(random));
        char buf[64];
        for (const char* format : {"%.15g", "%.17g", "%.6f"}) {
            std::snprintf(buf, sizeof buf, format, v);
            ExpectSameAsReference(buf, '.');
        }
        const auto end = std::to_chars(buf, buf + sizeof buf, v);
        const std::string shortest(buf, end.ptr);
        ExpectSameAsReference(shortest, '.');
        EXPECT_EQ(ParseRealText(shortest, '.'), v) << shortest;
        if (HasFailure()) return;
    }
}

TEST(ParseRealPrefix, ReadsTheNumberAtTheStartAndStopsAfterIt) {
    const auto read = [](std::string_view text, char sep, double& out) -> long {
        const char* stop = ParseRealPrefix(text.data(), text.data() + text.size(), sep, out);
        return stop ? stop - text.data() : -1;
    };
    double v = 0;
    EXPECT_EQ(read("3,65;13", ',', v), 4);
    EXPECT_EQ(v, 3.65);
    EXPECT_EQ(read(" -2,5e3 ;x", ',', v), 8);  // blanks on both sides belong to it
    EXPECT_EQ(v, -2500.0);
    EXPECT_EQ(read("12345678901234;", ',', v), 14);  // eight digits at a time, then the rest
    EXPECT_EQ(v, 12345678901234.0);
    EXPECT_EQ(read("1234567a", ',', v), 7);
    EXPECT_EQ(v, 1234567.0);
    EXPECT_EQ(read("7.1", ',', v), 1);  // the other separator ends the number
    EXPECT_EQ(v, 7.0);

    // Any other character inside a run of eight ends the digits right there.
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        if (std::string_view("0123456789,eE+- \t").find(ch) != std::string_view::npos) continue;
        for (int at = 1; at < 8; ++at) {
            std::string text = "87654321;";
            text[at] = ch;
            ASSERT_EQ(read(text, ',', v), at) << "character " << c << " at " << at;
            EXPECT_EQ(v, std::stod(text.substr(0, at)));
        }
    }

    v = 99;
    for (const char* none : {"", ";", " ;", "-;", ",;", "e5", "1e;", "1e+", "x1"})
        EXPECT_EQ(read(none, ',', v), -1) << '"' << none << '"';
    EXPECT_EQ(v, 99) << "a failed read leaves the value alone";
}

}  // namespace
}  // namespace fw
