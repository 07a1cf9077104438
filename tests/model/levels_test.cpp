#include "model/levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "libs/fw_math.h"

namespace fw {
namespace {

TEST(LevelTables, BandsAndTheirWavelengths) {
    const struct {
        const char* band;
        double mhz, lambda;
    } cases[] = {
        {"LW", 0.136, 2205.882},
        {"MW", 0.475, 631.579},
        {"160m", 1.905, 157.480},
        {"80m", 3.65, 82.192},
        {"40m", 7.1, 42.254},
        {"30m", 10.125, 29.630},
        {"20m", 14.175, 21.164},
        {"17m", 18.118, 16.558},
        {"15m", 21.225, 14.134},
        {"12m", 24.94, 12.029},
        {"10m", 28.85, 10.399},
        {"6m", 51.0, 5.882},
        {"2m", 145.0, 2.069},
        // Matching is exact and case-sensitive; anything else is 1 MHz (300 m).
        {"80M", 1, 300},
        {"80m ", 1, 300},
        {"", 1, 300},
        {"70cm", 1, 300},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BandFrequencyMHz(c.band), c.mhz) << c.band;
        EXPECT_NEAR(WavelengthM(BandFrequencyMHz(c.band)), c.lambda, 0.0005) << c.band;
    }
}

TEST(LevelTables, SValuesAndTheirVoltagesAndPowers) {
    const struct {
        const char* text;
        double s, uv, dbuv, dbm;
    } cases[] = {
        {"S1", 1, 0.1991, -14.02, -121.01},
        {"S2", 2, 0.3972, -8.02, -115.01},
        {"S3", 3, 0.7924, -2.02, -109.01},
        {"S4", 4, 1.5811, 3.98, -103.01},
        {"S5", 5, 3.1548, 9.98, -97.01},
        {"S6", 6, 6.2946, 15.98, -91.01},
        {"S7", 7, 12.5594, 21.98, -85.01},
        {"S8", 8, 25.0594, 27.98, -79.01},
        {"S9", 9, 50, 33.98, -73.01},
        {"S9+10", 32.0 / 3, 158.1139, 43.98, -63.01},
        {"S9+20", 37.0 / 3, 500, 53.98, -53.01},
        {"S9+30", 14, 1581.1388, 63.98, -43.01},
        {"S9+40", 47.0 / 3, 5000, 73.98, -33.01},
        // Texts not in the table give S = 0.
        {"S10", 0, 0.09976, -20.021, -127.010},
        {"s9", 0, 0.09976, -20.021, -127.010},
    };
    for (const auto& c : cases) {
        const double s = SValueFromText(c.text);
        EXPECT_EQ(s, c.s) << c.text;
        const double uv = SUnitsToMicrovolt(s);
        EXPECT_NEAR(uv, c.uv, 0.00006) << c.text;
        EXPECT_NEAR(MicrovoltToDbuv(uv), c.dbuv, 0.005) << c.text;
        EXPECT_NEAR(MicrovoltToDbm(uv), c.dbm, 0.005) << c.text;
    }
}

TEST(SingleConversions, ExactPointsRoundTripsAndEdgeArguments) {
    EXPECT_EQ(SUnitsToMicrovolt(9), 50.0);
    EXPECT_EQ(MicrovoltToSUnits(50), 9.0);
    EXPECT_EQ(MicrovoltToSUnits(0), 9.0);
    EXPECT_EQ(MicrovoltToSUnits(-5), 9.0);
    for (double s : {0.0, 1.0, 4.5, 32.0 / 3, 20.0})
        EXPECT_NEAR(MicrovoltToSUnits(SUnitsToMicrovolt(s)), s, 1e-12) << s;
    for (double d : {-20.0, 0.0, 80.0})
        EXPECT_NEAR(MicrovoltToDbuv(DbuvToMicrovolt(d)), d, 1e-12) << d;
    for (double p : {-130.0, -73.0, 20.0})
        EXPECT_NEAR(MicrovoltToDbm(DbmToMicrovolt(p)), p, 1e-12) << p;
    EXPECT_EQ(MicrovoltToDbuv(0), 0.0);  // through SafeLog10
    EXPECT_EQ(MicrovoltToDbm(0), 0.0);
    // dBuV/m = dBuV + 20 log10(f) - gain - 29.7767153
    EXPECT_NEAR(FieldStrengthDbuVm(DbuvToMicrovolt(40), 10, 3), 40 + 20 - 3 - 29.7767153, 1e-6);
    // A negative frequency gives a negative wavelength and 0 dBuV/m, no error.
    EXPECT_EQ(WavelengthM(-3.0), -100.0);
    EXPECT_EQ(LevelsFromSValue(9, -3.65, 2.15).FieldDbuVm, 0.0);
}

// The entry refuses a frequency of 0 before converting (tested with the entry); the
// conversions themselves report nothing by exception: the wavelength is infinite.
TEST(SingleConversions, ZeroFrequencyThrowsNothing) {
    EXPECT_TRUE(std::isinf(WavelengthM(-0.0)));
    EXPECT_NO_THROW(FieldStrengthDbuVm(50, 0, 0));
    EXPECT_NO_THROW(LevelsFromSValue(9, 0, 2.15));
    EXPECT_NO_THROW(LevelsFromAntennaVoltage(22, 0, 2.15));
    EXPECT_NO_THROW(LevelsFromAntennaPower(-73, 0, 2.15));
}

TEST(PerMeasurement, WorkedExamples) {
    const double U = UnknownLevel;
    const struct {
        const char* name;
        MeasurementLevels m;
        double s, dbuv, dbm, gain, field;
    } cases[] = {
        {"S9", LevelsFromSValue(SValueFromText("S9"), 3.65, 2.15), 9, 33.979, -73.010, 2.15,
         13.299},
        {"S1 at 20 m", LevelsFromSValue(SValueFromText("S1"), 14.175, 2.15), 1, -14.021, -121.010,
         2.15, -22.917},
        {"S9+40 on LW", LevelsFromSValue(SValueFromText("S9+40"), 0.136, 0), 15.667, 73.979,
         -33.010, 0, 26.873},
        {"22 dBuV", LevelsFromAntennaVoltage(22, 3.65, 2.15), 7.0034, 22, -84.990, 2.15, 1.319},
        {"-103 dBm", LevelsFromAntennaPower(-103, 3.65, 2.15), 4.0017, 3.990, -103, 2.15, -16.691},
        {"-73 dBm at 40 m", LevelsFromAntennaPower(-73, 7.1, 0), 9.0017, 33.990, -73, 0, 21.238},
        {"20 dBuV/m", LevelsFromFieldStrength(20), U, U, U, U, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.m.SUnits, c.s, 0.0005);
        EXPECT_NEAR(c.m.AntVoltDbuV, c.dbuv, 0.0005);
        EXPECT_NEAR(c.m.AntPowerDbm, c.dbm, 0.0005);
        EXPECT_EQ(c.m.GainDbi, c.gain);
        EXPECT_NEAR(c.m.FieldDbuVm, c.field, 0.0005);
    }
    // The entered value is kept exactly; the intermediate values for the diagnostics.
    EXPECT_EQ(cases[3].m.AntVoltDbuV, 22.0);
    EXPECT_EQ(cases[4].m.AntPowerDbm, -103.0);
    EXPECT_EQ(cases[0].m.Microvolt, 50.0);
    EXPECT_NEAR(cases[0].m.WavelengthM, 82.192, 0.0005);
    EXPECT_EQ(cases[6].m.Microvolt, 0.0);
    EXPECT_EQ(cases[6].m.WavelengthM, 0.0);
}

TEST(FormatLevel, NumbersAndDashMarks) {
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* format;
        double value;
        char sep;
        const char* text;
    } cases[] = {
        {"%3.1f", -73.01, '.', "-73.0"},
        {"%3.1f", -73.01, ',', "-73,0"},
        {"%7.3f|", 3.65, ',', "  3,650|"},
        {"%5.0f|", 2700, ',', " 2700|"},
        {"%6.1f", -998.9, '.', "-998.9"},           // just above the mark
        {"%5.2f|", 123456.789, '.', "123456.79|"},  // never cut
        {"x=%4.1f dB", 1.25, '.', "x= 1.2 dB"},
        // -999 and below, right-aligned in the width after the "%", "|" kept.
        {"%7.1f|", -999, '.', "   --- |"},
        {"%6.1f", -999, ',', "  --- "},
        {"%5.2f|", -999, '.', " --- |"},
        {"%3.1f", -999, ',', " --- "},
        {"%7.3f|", -1e6, '.', "   --- |"},
        {"%7.3f|", NaN, '.', "   --- |"},
        // Formats the program does not use still give sensible texts.
        {"plain", 1.0, '.', "plain"},
        {"%d", 1.0, '.', "%d"},
        {"%f", 1.5, '.', "1.500000"},
        {"%10.2f|", -999, '.', "      --- |"},
        {"%.1f", -999, '.', " --- "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatLevel(c.format, c.value, c.sep), c.text) << c.format << " " << c.value;
    EXPECT_EQ(FormatLevel("%7.1f|", 1e300, '.').size(), 304u);  // 301 digits, ".0|"
}

// Every value and precision gives the text of the C library's correctly rounded "%.*f".
TEST(FormatLevel, AgreesWithPrintfIncludingTies) {
    std::vector<double> values = {0.125, 0.375, 2.5,           3.5,  -0.05, -0.04, 1.005,    2.675,
                                  1e15,  4e15,  123456789.125, -0.0, 0.0,   5e-7,  9.9999995};
    for (int i = -20000; i <= 20000; ++i) values.push_back(i * 0.0005);
    for (int i = 1; i < 2000; ++i) values.push_back(1.0 / i - 0.45 * i);
    for (const double v : values) {
        for (int decimals : {0, 1, 2, 3, 6}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
            const std::string format = "%1." + std::to_string(decimals) + "f";
            ASSERT_EQ(FormatLevel(format, v, '.'), expected) << v << " " << decimals;
        }
    }
}

}  // namespace
}  // namespace fw
