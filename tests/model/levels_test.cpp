#include "levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "fw_math.h"

namespace fw {
namespace {

TEST(LevelTables, BandsAndTheirWavelengths) {
    struct Case {
        const char* band;
        double mhz;
        double lambda;
    };
    const Case cases[] = {
        {"LW", 0.136, 2205.882}, {"MW", 0.475, 631.579},  {"160m", 1.905, 157.480},
        {"80m", 3.65, 82.192},   {"40m", 7.1, 42.254},    {"30m", 10.125, 29.630},
        {"20m", 14.175, 21.164}, {"17m", 18.118, 16.558}, {"15m", 21.225, 14.134},
        {"12m", 24.94, 12.029},  {"10m", 28.85, 10.399},  {"6m", 51.0, 5.882},
        {"2m", 145.0, 2.069},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BandFrequencyMHz(c.band), c.mhz) << c.band;
        EXPECT_NEAR(WavelengthM(BandFrequencyMHz(c.band)), c.lambda, 0.0005) << c.band;
    }
    // Matching is exact and case-sensitive; anything else is 1 MHz (300 m).
    for (const char* other : {"80M", "80m ", "", "70cm"}) EXPECT_EQ(BandFrequencyMHz(other), 1.0);
    EXPECT_EQ(WavelengthM(BandFrequencyMHz("x")), 300.0);
}

TEST(LevelTables, SValuesAndTheirVoltagesAndPowers) {
    struct Case {
        const char* text;
        double s;
        double uv;
        double dbuv;
        double dbm;
    };
    const Case cases[] = {
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
    };
    for (const Case& c : cases) {
        const double s = SValueFromText(c.text);
        EXPECT_EQ(s, c.s) << c.text;
        const double uv = SUnitsToMicrovolt(s);
        EXPECT_NEAR(uv, c.uv, 0.00006) << c.text;
        EXPECT_NEAR(MicrovoltToDbuv(uv), c.dbuv, 0.005) << c.text;
        EXPECT_NEAR(MicrovoltToDbm(uv), c.dbm, 0.005) << c.text;
    }
    EXPECT_EQ(SValueFromText("S10"), 0.0);
    EXPECT_EQ(SValueFromText("s9"), 0.0);
    EXPECT_NEAR(SUnitsToMicrovolt(SValueFromText("S10")), 0.09976, 0.000005);
    EXPECT_NEAR(MicrovoltToDbuv(SUnitsToMicrovolt(0)), -20.021, 0.0005);
    EXPECT_NEAR(MicrovoltToDbm(SUnitsToMicrovolt(0)), -127.010, 0.0005);
}

TEST(SingleConversions, ExactPointsAndRoundTrips) {
    EXPECT_EQ(SUnitsToMicrovolt(9), 50.0);
    EXPECT_EQ(MicrovoltToSUnits(50), 9.0);
    EXPECT_EQ(MicrovoltToSUnits(0), 9.0);
    EXPECT_EQ(MicrovoltToSUnits(-5), 9.0);
    for (double s : {0.0, 1.0, 4.5, 9.0, 32.0 / 3, 15.7, 20.0})
        EXPECT_NEAR(MicrovoltToSUnits(SUnitsToMicrovolt(s)), s, 1e-12) << s;
    for (double d : {-20.0, 0.0, 33.979, 80.0})
        EXPECT_NEAR(MicrovoltToDbuv(DbuvToMicrovolt(d)), d, 1e-12) << d;
    for (double p : {-130.0, -73.0, 0.0, 20.0})
        EXPECT_NEAR(MicrovoltToDbm(DbmToMicrovolt(p)), p, 1e-12) << p;
    EXPECT_EQ(DbuvToMicrovolt(0), 1.0);
    EXPECT_EQ(MicrovoltToDbuv(0), 0.0);  // through SafeLog10
    EXPECT_EQ(MicrovoltToDbm(0), 0.0);
    EXPECT_NEAR(GainFactor(10), 10.0, 1e-12);
    EXPECT_EQ(GainFactor(0), 1.0);
    // dBuV/m = dBuV + 20 log10(f) - gain - 29.7767153
    EXPECT_NEAR(FieldStrengthDbuVm(DbuvToMicrovolt(40), 10, 3), 40 + 20 - 3 - 29.7767153, 1e-6);
}

TEST(SingleConversions, NegativeFrequencyGivesZeroFieldStrength) {
    EXPECT_EQ(WavelengthM(-3.0), -100.0);
    EXPECT_EQ(FieldStrengthDbuVm(50, -3.0, 0), 0.0);
    EXPECT_EQ(LevelsFromSValue(9, -3.65, 2.15).FieldDbuVm, 0.0);
}

TEST(SingleConversions, ZeroFrequencyIsAFloatDivisionByZero) {
    EXPECT_THROW(WavelengthM(0.0), FloatDivisionByZero);
    EXPECT_THROW(WavelengthM(-0.0), FloatDivisionByZero);
    EXPECT_THROW(FieldStrengthDbuVm(50, 0, 0), FloatDivisionByZero);
    EXPECT_THROW(LevelsFromSValue(9, 0, 2.15), FloatDivisionByZero);
    EXPECT_THROW(LevelsFromAntennaVoltage(22, 0, 2.15), FloatDivisionByZero);
    EXPECT_THROW(LevelsFromAntennaPower(-73, 0, 2.15), FloatDivisionByZero);
    try {
        WavelengthM(0);
        FAIL() << "no exception";
    } catch (const std::domain_error& e) {
        EXPECT_STREQ(e.what(), "Gleitkommadivision durch Null");
    }
}

TEST(PerMeasurement, WorkedExamples) {
    const double f80 = BandFrequencyMHz("80m");
    auto m = LevelsFromSValue(SValueFromText("S9"), f80, 2.15);
    EXPECT_EQ(m.SUnits, 9.0);
    EXPECT_NEAR(m.AntVoltDbuV, 33.979, 0.0005);
    EXPECT_NEAR(m.AntPowerDbm, -73.010, 0.0005);
    EXPECT_NEAR(m.FieldDbuVm, 13.299, 0.0005);
    EXPECT_EQ(m.GainDbi, 2.15);
    EXPECT_EQ(m.Microvolt, 50.0);
    EXPECT_NEAR(m.WavelengthM, 82.192, 0.0005);

    m = LevelsFromSValue(SValueFromText("S1"), 14.175, 2.15);
    EXPECT_EQ(m.SUnits, 1.0);
    EXPECT_NEAR(m.AntVoltDbuV, -14.021, 0.0005);
    EXPECT_NEAR(m.AntPowerDbm, -121.010, 0.0005);
    EXPECT_NEAR(m.FieldDbuVm, -22.917, 0.0005);

    m = LevelsFromSValue(SValueFromText("S9+40"), 0.136, 0);
    EXPECT_NEAR(m.SUnits, 15.667, 0.0005);
    EXPECT_NEAR(m.AntVoltDbuV, 73.979, 0.0005);
    EXPECT_NEAR(m.AntPowerDbm, -33.010, 0.0005);
    EXPECT_NEAR(m.FieldDbuVm, 26.873, 0.0005);

    m = LevelsFromAntennaVoltage(22, f80, 2.15);
    EXPECT_NEAR(m.SUnits, 7.0034, 0.00005);
    EXPECT_EQ(m.AntVoltDbuV, 22.0);
    EXPECT_NEAR(m.AntPowerDbm, -84.990, 0.0005);
    EXPECT_NEAR(m.FieldDbuVm, 1.319, 0.0005);
    EXPECT_EQ(m.GainDbi, 2.15);

    m = LevelsFromAntennaPower(-103, f80, 2.15);
    EXPECT_NEAR(m.SUnits, 4.0017, 0.00005);
    EXPECT_NEAR(m.AntVoltDbuV, 3.990, 0.0005);
    EXPECT_EQ(m.AntPowerDbm, -103.0);
    EXPECT_NEAR(m.FieldDbuVm, -16.691, 0.0005);

    m = LevelsFromAntennaPower(-73, 7.1, 0);
    EXPECT_NEAR(m.SUnits, 9.0017, 0.00005);
    EXPECT_NEAR(m.AntVoltDbuV, 33.990, 0.0005);
    EXPECT_NEAR(m.FieldDbuVm, 21.238, 0.0005);

    m = LevelsFromFieldStrength(20);
    EXPECT_EQ(m.FieldDbuVm, 20.0);
    EXPECT_EQ(m.SUnits, UnknownLevel);
    EXPECT_EQ(m.AntVoltDbuV, UnknownLevel);
    EXPECT_EQ(m.AntPowerDbm, UnknownLevel);
    EXPECT_EQ(m.GainDbi, UnknownLevel);
    EXPECT_EQ(m.Microvolt, 0.0);
    EXPECT_EQ(m.WavelengthM, 0.0);
}

TEST(BandwidthCorrection, Examples) {
    EXPECT_NEAR(BandwidthCorrectionDb(10000, 2700), 5.686, 0.0005);
    EXPECT_NEAR(BandwidthCorrectionDb(2700, 10000), -5.686, 0.0005);
    EXPECT_EQ(BandwidthCorrectionDb(2700, 2700), 0.0);
}

TEST(FormatLevel, NumbersWithEitherSeparator) {
    EXPECT_EQ(FormatLevel("%3.1f", -73.01, '.'), "-73.0");
    EXPECT_EQ(FormatLevel("%3.1f", -73.01, ','), "-73,0");
    EXPECT_EQ(FormatLevel("%7.3f|", 3.65, '.'), "  3.650|");
    EXPECT_EQ(FormatLevel("%7.3f|", 3.65, ','), "  3,650|");
    EXPECT_EQ(FormatLevel("%3.2f", 2.15, ','), "2,15");
    EXPECT_EQ(FormatLevel("%5.0f|", 2700, ','), " 2700|");
    EXPECT_EQ(FormatLevel("%6.1f", -998.9, '.'), "-998.9");           // just above the mark
    EXPECT_EQ(FormatLevel("%5.2f|", 123456.789, '.'), "123456.79|");  // never cut
    EXPECT_EQ(FormatLevel("x=%4.1f dB", 1.25, '.'), "x= 1.2 dB");
}

TEST(FormatLevel, DashMarkForUnknownLevels) {
    // Right-aligned in the full width of 7, so list columns stay aligned.
    EXPECT_EQ(FormatLevel("%7.1f|", -999, '.'), "   --- |");
    EXPECT_EQ(FormatLevel("%6.1f", -999, ','), "  --- ");
    EXPECT_EQ(FormatLevel("%5.2f|", -999, '.'), " --- |");
    EXPECT_EQ(FormatLevel("%3.1f", -999, ','), " --- ");
    EXPECT_EQ(FormatLevel("%3.2f", -999, '.'), " --- ");
    EXPECT_EQ(FormatLevel("%7.3f|", -1e6, '.'), "   --- |");
    EXPECT_EQ(FormatLevel("%7.3f|", std::numeric_limits<double>::quiet_NaN(), '.'), "   --- |");
}

// Every value and precision gives the text of the C library's correctly rounded "%.*f".
TEST(FormatLevel, AgreesWithPrintfIncludingTies) {
    std::vector<double> values = {0.125, 0.375, 2.5,           3.5,  -0.05, -0.04, 1.005,    2.675,
                                  1e15,  4e15,  123456789.125, -0.0, 0.0,   5e-7,  9.9999995};
    for (int i = -20000; i <= 20000; ++i) values.push_back(i * 0.0005);
    for (int i = 1; i < 2000; ++i) values.push_back(1.0 / i - 0.45 * i);
    for (const double v : values) {
        ASSERT_GT(v, UnknownLevel);
        for (int decimals : {0, 1, 2, 3, 6}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
            const std::string format = "%1." + std::to_string(decimals) + "f";
            ASSERT_EQ(FormatLevel(format, v, '.'), expected) << v << " " << decimals;
        }
    }
}

TEST(FormatLevel, OddFormats) {
    EXPECT_EQ(FormatLevel("plain", 1.0, '.'), "plain");
    EXPECT_EQ(FormatLevel("%d", 1.0, '.'), "%d");
    EXPECT_EQ(FormatLevel("%f", 1.5, '.'), "1.500000");
    EXPECT_EQ(FormatLevel("%10.2f|", 1.5, '.'), "      1.50|");
    EXPECT_EQ(FormatLevel("%10.2f|", -999, '.'), "      --- |");
    EXPECT_EQ(FormatLevel("%.1f", -999, '.'), " --- ");
    EXPECT_EQ(FormatLevel("%7.1f|", 1e300, '.').size(), 304u);  // 301 digits, ".0|"
}

}  // namespace
}  // namespace fw
