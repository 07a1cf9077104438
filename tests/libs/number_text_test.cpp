// Number text under a decimal-comma C locale: one separator rule, no sign before a zero.
#include "libs/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace fw {
namespace {

TEST(NumberText, FixedSignedAndGeneralWriteOneRuleWhateverTheLocale) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");  // must not matter; falls back to "C" if missing
    struct Case {
        std::string got, want;
    };
    const Case cases[] = {
        {FixedText(-1.25, 1), "-1.2"},          // a tie goes to the even digit, as printf does
        {FixedText(-0.04, 1), "0.0"},           // rounds to zero: no sign
        {FixedText(-0.0, 0), "0"},
        {FixedText(-0.4, 0), "0"},
        {FixedText(-0.6, 0), "-1"},
        {FixedText(7.1, 3, ','), "7,100"},
        {FixedText(1e300, 0).substr(0, 4), "1000"},  // no cut-off for the largest values
        {SignedFixedText(0.0, 1), "+0.0"},
        {SignedFixedText(-0.01, 1), "+0.0"},
        {SignedFixedText(-0.3, 1), "-0.3"},
        {SignedFixedText(2.25, 1, ','), "+2,2"},
        {GeneralText(2700), "2700"},
        {GeneralText(0.25, 6, ','), "0,25"},
        {GeneralText(1e-7), "1e-07"},
        {GeneralText(-0.0), "0"},
        {GeneralText(0.0012345, 4), "0.001234"},
        {FixedText(-INFINITY, 1), "-inf"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace fw
