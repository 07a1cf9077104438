#include <gtest/gtest.h>

#include <charconv>
#include <cmath>

#include "rig/mode_rule.h"
#include "rig/reading.h"
#include "rig/rig_error.h"
#include "rig/rig_models.h"
#include "rig/rig_settings.h"
#include "rig/strength_cal.h"
#include "rig/sweep.h"

namespace fw::rig {
namespace {

TEST(RigSettings, RigctldAddressesParseWithDefaults) {
    struct Case {
        const char* text;
        const char* host;
        int port;
        const char* shown;
    };
    for (const Case& c : {Case{"", "localhost", 4532, "localhost:4532"},
                          Case{"rig.local", "rig.local", 4532, "rig.local:4532"},
                          Case{":4000", "localhost", 4000, "localhost:4000"},
                          Case{"127.0.0.1:65535", "127.0.0.1", 65535, "127.0.0.1:65535"},
                          Case{"[::1]:4533", "::1", 4533, "[::1]:4533"},
                          Case{"[fe80::1]", "fe80::1", 4532, "[fe80::1]:4532"}}) {
        const RigctldAddress a = ParseRigctldAddress(c.text);
        EXPECT_EQ(a.host, c.host) << c.text;
        EXPECT_EQ(a.port, c.port) << c.text;
        EXPECT_EQ(AddressText(a), c.shown) << c.text;
    }
    for (const char* bad : {"host:", "host:0", "host:65536", "host:45x", "host:-1", "::1:4532",
                            "[::1", "[]:4532", "[::1]4532", "[::1]:"})
        EXPECT_THROW(ParseRigctldAddress(bad), RigSettingsError) << bad;
}

TEST(RigSettings, ConfPairsSplitAtCommasAndTheFirstEquals) {
    EXPECT_TRUE(ParseConfPairs("").empty());
    const std::vector<ConfPair> expected{{"static_data", "1"}, {"a", "b=c"}, {"empty", ""}};
    EXPECT_EQ(ParseConfPairs("static_data=1,a=b=c,empty="), expected);
    for (const char* bad : {"novalue", "=1", "a=1,", ",a=1", "a=1,,b=2"})
        EXPECT_THROW(ParseConfPairs(bad), RigSettingsError) << bad;
}

TEST(ModeRule, DefaultRuleAndAChangedOne) {
    const ModeRule rule;
    struct Case {
        const char* band;
        double mhz;
        const char* mode;
    };
    for (const Case& c :
         {Case{"LW", 0.136, "AM"}, Case{"MW", 0.475, "AM"}, Case{"160m", 1.905, "LSB"},
          Case{"40m", 7.1, "LSB"}, Case{"30m", 10.125, "USB"}, Case{"2m", 145.0, "USB"},
          Case{"", 0.2, "LSB"}, Case{"", 10.0, "USB"}})
        EXPECT_EQ(ModeFor(rule, c.band, c.mhz), c.mode) << c.band << " " << c.mhz;
    ModeRule cw{5.0, "CW", "CWR", {{"2m", "FM"}}};
    EXPECT_EQ(ModeFor(cw, "LW", 0.136), "CW");
    EXPECT_EQ(ModeFor(cw, "20m", 14.175), "CWR");
    EXPECT_EQ(ModeFor(cw, "2m", 145.0), "FM");
}

TEST(StrengthCalibration, InterpolatesBetweenPointsAndClampsAtTheEnds) {
    const std::vector<CalPoint> table{{0, -54}, {120, 0}, {120, 5}, {240, 60}};
    struct Case {
        int raw;
        double db;
    };
    for (const Case& c : {Case{-5, -54}, Case{0, -54}, Case{60, -27}, Case{119, -0.45},
                          Case{120, 5}, Case{180, 32.5}, Case{240, 60}, Case{300, 60}})
        EXPECT_NEAR(StrengthFromRaw(table, c.raw), c.db, 1e-9) << c.raw;
    EXPECT_EQ(StrengthFromRaw({}, 37), 37);
}

TEST(Reading, VoltageIsS9PlusStrengthPlusOffsetAndItsTextLosesNothing) {
    const double s9 = 20 * std::log10(50.0);
    EXPECT_NEAR(AntennaVoltageDbuV(0, 0), s9, 1e-12);
    EXPECT_NEAR(AntennaVoltageDbuV(-12, 1.5), s9 - 10.5, 1e-12);
    EXPECT_EQ(ExactNumberText(2e8, ','), "200000000");
    for (double v : {AntennaVoltageDbuV(-12, 0), AntennaVoltageDbuV(-12.5, -0.1), 1e-7, -123.0, 2e8}) {
        for (char sep : {'.', ','}) {
            std::string text = ExactNumberText(v, sep);
            EXPECT_EQ(text.find(sep == '.' ? ',' : '.'), std::string::npos) << text;
            std::replace(text.begin(), text.end(), ',', '.');
            double back = 0;
            std::from_chars(text.data(), text.data() + text.size(), back);
            EXPECT_EQ(back, v) << text;
        }
    }
}

TEST(Reading, CalibrationOffsetsParseInTheRegionalSeparator) {
    const CalibrationOffsets expected{{"80m", -1.5}, {"2m", 2}};
    EXPECT_EQ(ParseCalibrationOffsets("80m=-1,5;2m=2", ','), expected);
    EXPECT_EQ(ParseCalibrationOffsets("80m=-1.5;2m=2;", '.'), expected);
    EXPECT_TRUE(ParseCalibrationOffsets("", ',').empty());
    for (const char* bad : {"80m", "80m=", "80m=x", "80m=-1.5", "11m=1", "=1", "80m=1;;2m=1"})
        EXPECT_THROW(ParseCalibrationOffsets(bad, ','), ReadingInputError) << bad;
    // The separator expected is named, a band given twice is refused.
    const auto refusal = [](const char* text, char sep) {
        try {
            ParseCalibrationOffsets(text, sep);
        } catch (const ReadingInputError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refusal("20m=1.5", ','),
              "calibration \"20m=1.5\" must be written BAND=DB! Use Komma as decimal separator!");
    EXPECT_EQ(refusal("20m=1,5", '.'),
              "calibration \"20m=1,5\" must be written BAND=DB! Use Point as decimal separator!");
    EXPECT_EQ(refusal("20m=1;20m=1", '.'), "calibration names 20m twice");
}

TEST(Reading, FreeFrequenciesTakeTheOffsetOfTheNearestBand) {
    EXPECT_EQ(OffsetBandFor("40m", 3.0), "40m");
    EXPECT_EQ(OffsetBandFor("", 0.05), "LW");
    EXPECT_EQ(OffsetBandFor("", 3.5), "80m");
    EXPECT_EQ(OffsetBandFor("", 10.1), "30m");
    EXPECT_EQ(OffsetBandFor("", 1000), "2m");
    const CalibrationOffsets offsets{{"80m", -2.5}};
    EXPECT_EQ(OffsetFor(offsets, "80m"), -2.5);
    EXPECT_EQ(OffsetFor(offsets, "40m"), 0);
}

TEST(RigModels, HamlibListIsSortedAndSearchable) {
    const std::vector<RigModelInfo> models = RigModels();
    ASSERT_GT(models.size(), 100u);
    EXPECT_TRUE(std::is_sorted(models.begin(), models.end(),
                               [](const auto& a, const auto& b) { return a.model < b.model; }));
    const auto dummy = FilterRigModels(models, "  hamlib   DUMMY ");
    ASSERT_FALSE(dummy.empty());
    EXPECT_EQ(dummy.front().model, 1);
    EXPECT_TRUE(FilterRigModels(models, "no such rig anywhere").empty());
}

}  // namespace
}  // namespace fw::rig
