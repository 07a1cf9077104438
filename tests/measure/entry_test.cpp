#include "measure/entry.h"

#include <gtest/gtest.h>

#include "libs/fw_math.h"
#include "measure/level_range.h"

namespace fw {
namespace {

// The window's state at start-up, with the given separator.
EntryInputs DefaultInputs(char sep) {
    EntryInputs in;
    in.band = "80m";
    in.frequency = "1";
    in.sValue = "S9";
    in.gain = DefaultGainText(sep);
    in.method = EntryMethod::SValue;
    in.bandwidth = "2700";
    return in;
}

EntryAccepted Accepted(const EntryResult& r) {
    if (const auto* f = std::get_if<EntryFailure>(&r)) ADD_FAILURE() << f->message.text;
    const auto* ok = std::get_if<EntryAccepted>(&r);
    return ok ? *ok : EntryAccepted{};
}

EntryFailure Refused(const EntryResult& r) {
    EXPECT_TRUE(std::holds_alternative<EntryFailure>(r)) << "entry was accepted";
    const auto* f = std::get_if<EntryFailure>(&r);
    return f ? *f : EntryFailure{{MessageKind::Information, "<accepted>"}, std::nullopt, {}};
}

void ExpectFailure(const EntryResult& r, MessageKind kind, const std::string& message,
                   std::optional<EntryField> field, const std::string& resetText) {
    const EntryFailure f = Refused(r);
    EXPECT_EQ(f.message.kind, kind);
    EXPECT_EQ(f.message.text, message);
    EXPECT_EQ(f.resetField, field);
    EXPECT_EQ(f.resetText, resetText);
}

TEST(EvaluateEntry, DefaultWindowS9On80mUnderBothSeparators) {
    for (const char sep : {',', '.'}) {
        const EntryAccepted ok = Accepted(EvaluateEntry(DefaultInputs(sep), sep));
        EXPECT_EQ(ok.row.freqMHz, 3.65);
        EXPECT_EQ(ok.row.sUnits, 9.0);
        EXPECT_NEAR(ok.row.antVoltDbuV, 33.979, 0.0005);
        EXPECT_NEAR(ok.row.antPowerDbm, -73.010, 0.0005);
        EXPECT_NEAR(ok.row.fieldDbuVm, 13.299, 0.0005);
        EXPECT_EQ(ok.row.gainDbi, 2.15);
        EXPECT_EQ(ok.row.bandwidthHz, 2700.0);
        EXPECT_EQ(ok.row.entryUnit, "S-Val");
        const std::string s(1, sep);
        EXPECT_EQ(ok.powerText, "-73" + s + "0");
        EXPECT_EQ(ok.voltageText, "34" + s + "0");
        EXPECT_EQ(ok.fieldText, "13" + s + "3");
        EXPECT_EQ(ok.gainText, "2" + s + "15");
        EXPECT_EQ(ok.diagnostics, (std::array<std::string, 6>{
                                      "fMHz.....: 3" + s + "6500", "Lambda...: 82" + s + "2",
                                      "U[uV]....: 50" + s + "0", "U[dBuV]..: 34" + s + "0",
                                      "P[dBm]...: -73" + s + "0", "E[dBuVm].: 13" + s + "3"}));
    }
}

TEST(EvaluateEntry, EachMethodConvertsItsEnteredLevel) {
    EntryInputs in = DefaultInputs(',');
    in.method = EntryMethod::AntennaVoltage;
    in.antennaVoltage = "22";
    EntryAccepted ok = Accepted(EvaluateEntry(in, ','));
    EXPECT_EQ(ok.row.entryUnit, "AntVol");
    EXPECT_NEAR(ok.row.sUnits, 7.0034, 0.00005);
    EXPECT_EQ(ok.row.antVoltDbuV, 22.0);
    EXPECT_NEAR(ok.row.fieldDbuVm, 1.319, 0.0005);
    EXPECT_EQ(ok.voltageText, "22,0");
    EXPECT_EQ(ok.powerText, "-85,0");

    in.method = EntryMethod::AntennaPower;
    in.antennaPower = "-103";
    ok = Accepted(EvaluateEntry(in, ','));
    EXPECT_EQ(ok.row.entryUnit, "AntPwr");
    EXPECT_EQ(ok.row.antPowerDbm, -103.0);
    EXPECT_NEAR(ok.row.antVoltDbuV, 3.990, 0.0005);
    EXPECT_NEAR(ok.row.fieldDbuVm, -16.691, 0.0005);

    // S9+40 on LW without gain.
    in = DefaultInputs('.');
    in.band = "LW";
    in.sValue = "S9+40";
    in.gain = "0";
    ok = Accepted(EvaluateEntry(in, '.'));
    EXPECT_NEAR(ok.row.fieldDbuVm, 26.873, 0.0005);
    EXPECT_EQ(ok.diagnostics[1], "Lambda...: 2206.0");
    EXPECT_EQ(ok.diagnostics[2], "U[uV]....: 5000.0");
}

TEST(EvaluateEntry, FieldStrengthEntryLeavesDashMarks) {
    EntryInputs in = DefaultInputs(',');
    in.band = "40m";
    in.method = EntryMethod::FieldStrength;
    in.fieldStrength = "20";
    in.gain = "";  // emptied by selecting the method; not read
    const EntryAccepted ok = Accepted(EvaluateEntry(in, ','));
    EXPECT_EQ(ok.row, (MeasRow{7.1, 20, 2700, "Field", -999, -999, -999, -999}));
    EXPECT_EQ(ok.powerText, " --- ");
    EXPECT_EQ(ok.voltageText, " --- ");
    EXPECT_EQ(ok.gainText, " --- ");
    EXPECT_EQ(ok.fieldText, "20,0");
    EXPECT_EQ(ok.diagnostics[1], "Lambda...: 0,0");
    EXPECT_EQ(ok.diagnostics[2], "U[uV]....: 0,0");
    EXPECT_EQ(ok.diagnostics[3], "U[dBuV]..: -999,0");
    EXPECT_EQ(ok.diagnostics[4], "P[dBm]...: -999,0");
    EXPECT_EQ(ok.diagnostics[5], "E[dBuVm].: 20,0");

    // Back to S-values with the " --- " the gain field now holds: refused, gain reset.
    in.method = EntryMethod::SValue;
    in.gain = ok.gainText;
    ExpectFailure(EvaluateEntry(in, ','), MessageKind::Warning, GainWarning, EntryField::Gain,
                  "2,15");
}

TEST(EvaluateEntry, FreeFrequencyOverridesTheBand) {
    EntryInputs in = DefaultInputs(',');
    in.band = "LW";
    in.freeFrequency = true;
    in.frequency = "7,1";
    EXPECT_EQ(Accepted(EvaluateEntry(in, ',')).row.freqMHz, 7.1);
    in.frequency = "7.1";  // the other separator
    ExpectFailure(EvaluateEntry(in, ','), MessageKind::Warning, FrequencyWarning, std::nullopt, "");
    in.freeFrequency = false;  // the frequency field is not read then
    EXPECT_EQ(Accepted(EvaluateEntry(in, ',')).row.freqMHz, 0.136);
}

// The lists' fallbacks (1 MHz, S 0) are never stored: a text outside the lists is refused
// with what is accepted, and "S9+N" follows the table's rule of 6 dB per S-unit.
TEST(EvaluateEntry, SelectorTextsOutsideTheListsAreRefused) {
    const struct {
        const char* band;
        const char* sValue;
        double sUnits;  // 0: refused
    } cases[] = {
        {"80m", "S9+5", 9 + 5 / 6.0},   {"80m", "S9+1", 9 + 1 / 6.0},
        {"80m", "S9+60", 19.0},         {"80m", "S9+40", 47.0 / 3},
        {"80m", "S9+61", 0},            {"80m", "S9+0", 0},
        {"80m", "S9+05", 0},            {"80m", "S9+", 0},
        {"80m", "S9+5x", 0},            {"80m", "S9++5", 0},
        {"80m", "s9", 0},               {"80m", "S10", 0},
        {"80m", "", 0},                 {"60m", "S9", 0},
        {"40M", "S9", 0},               {"", "S9", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.band) + " " + c.sValue);
        EntryInputs in = DefaultInputs('.');
        in.band = c.band;
        in.sValue = c.sValue;
        const EntryResult r = EvaluateEntry(in, '.');
        if (c.sUnits != 0) {
            EXPECT_EQ(Accepted(r).row.sUnits, c.sUnits);
            continue;
        }
        const bool bandKnown = std::string(c.band) == "80m";
        ExpectFailure(r, MessageKind::Warning,
                      bandKnown ? UnknownSValueText(c.sValue) : UnknownBandText(c.band),
                      std::nullopt, "");
    }
    EXPECT_EQ(UnknownBandText("60m"),
              "Band \"60m\" is not in the band list (LW, MW, 160m, 80m, 40m, 30m, 20m, 17m, 15m, "
              "12m, 10m, 6m, 2m)! Enter any other frequency as a free frequency.");
    // A free frequency ignores the band text; other methods ignore the S-value text.
    EntryInputs in = DefaultInputs('.');
    in.band = "60m";
    in.freeFrequency = true;
    in.frequency = "5.3";
    in.method = EntryMethod::AntennaVoltage;
    in.antennaVoltage = "20";
    in.sValue = "S99";
    EXPECT_EQ(Accepted(EvaluateEntry(in, '.')).row.freqMHz, 5.3);
}

// Levels no receiver sees are refused with the range, whichever input leads to them; the
// edges of each range are accepted.
TEST(EvaluateEntry, LevelsOutsideWhatAReceiverSeesAreRefused) {
    using M = EntryMethod;
    const struct {
        M method;
        const char* level;
        const char* gain;
        const char* refusal;  // the message up to its range; empty: accepted
    } cases[] = {
        {M::AntennaVoltage, "-10000", "2.15", "Antenna voltage -10000 dBuV lies outside"},
        {M::AntennaVoltage, "200.5", "2.15", "Antenna voltage 200.5 dBuV lies outside"},
        {M::AntennaVoltage, "-100.5", "2.15", "Antenna voltage -100.5 dBuV lies outside"},
        // At 80 m and 2.15 dBi the field strength lies 20.7 dB below the voltage.
        {M::AntennaVoltage, "-80", "2.15", "Field strength -100.7 dBuV/m lies outside"},
        {M::AntennaVoltage, "-79", "2.15", ""},
        {M::AntennaPower, "-6000", "2.15", "Antenna power -6000 dBm lies outside"},
        {M::AntennaPower, "80", "2.15", ""},
        {M::AntennaPower, "-210", "2.15", "Antenna voltage -103.0 dBuV lies outside"},
        {M::FieldStrength, "-100.5", "", "Field strength -100.5 dBuV/m lies outside"},
        {M::FieldStrength, "200", "", ""},
        {M::SValue, "", "60", ""},
        {M::SValue, "", "60.5", "The gain must lie between -60 and 60 dBi, not 60.5"},
        {M::AntennaPower, "2e9", "2.15", "Antenna power 2e9 dBm lies outside"},
        {M::FieldStrength, "1e308", "", "Field strength 1e308 dBuV/m lies outside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " gain " + c.gain);
        EntryInputs in = DefaultInputs('.');
        in.method = c.method;
        in.antennaVoltage = in.antennaPower = in.fieldStrength = c.level;
        in.gain = c.gain;
        const EntryResult r = EvaluateEntry(in, '.');
        if (*c.refusal == 0) {
            Accepted(r);
            continue;
        }
        const EntryFailure f = Refused(r);
        EXPECT_EQ(f.message.text.rfind(c.refusal, 0), 0u) << f.message.text;
        EXPECT_EQ(f.resetField, std::nullopt);
    }
    EXPECT_EQ(*LevelOutsideReceiverRange(LevelsFromFieldStrength(-101), EntryMethod::FieldStrength,
                                         ','),
              "Field strength -101,0 dBuV/m lies outside -100 ... 200 dBuV/m: no receiver sees "
              "such a level!");
}

// Each refused input: its message and the reset of its field. Numbers so large that a
// conversion overflows would give a row that cannot be saved and read back, so the input
// responsible is refused instead.
TEST(EvaluateEntry, RefusedInputsWarnAndResetTheirField) {
    using M = EntryMethod;
    using F = EntryField;
    const MessageKind Warning = MessageKind::Warning, Info = MessageKind::Information;
    const struct {
        const char* name;
        M method;
        std::string EntryInputs::*input;
        const char* text;
        MessageKind kind;
        const char* message;
        std::optional<F> field;
        const char* reset;
    } cases[] = {
        {"gain", M::SValue, &EntryInputs::gain, "abc", Warning, GainWarning, F::Gain, "2,15"},
        {"gain", M::AntennaPower, &EntryInputs::gain, "x", Warning, GainWarning, F::Gain, "2,15"},
        {"voltage", M::AntennaVoltage, &EntryInputs::antennaVoltage, "", Warning,
         AntennaVoltageWarning, F::AntennaVoltage, "34"},
        {"power", M::AntennaPower, &EntryInputs::antennaPower, "-73 dBm", Warning,
         AntennaPowerWarning, F::AntennaPower, "-73"},
        {"field", M::FieldStrength, &EntryInputs::fieldStrength, "x", Warning, FieldStrengthWarning,
         F::FieldStrength, "20"},
        {"bandwidth letter", M::SValue, &EntryInputs::bandwidth, "2700a", Info,
         BandwidthInformation, F::Bandwidth, "2700"},
        {"bandwidth comma", M::SValue, &EntryInputs::bandwidth, "2,7", Info, BandwidthInformation,
         F::Bandwidth, "2700"},
        {"no bandwidth", M::SValue, &EntryInputs::bandwidth, "-5", Warning,
         "The bandwidth must lie between 1 and 2147483647 Hz, not -5", F::Bandwidth, "2700"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EntryInputs in = DefaultInputs(',');
        in.method = c.method;
        in.*c.input = c.text;
        ExpectFailure(EvaluateEntry(in, ','), c.kind, c.message, c.field, c.reset);
    }
    // The platform parser's hexadecimal form is accepted.
    EntryInputs in = DefaultInputs(',');
    in.bandwidth = "$A8C";
    EXPECT_EQ(Accepted(EvaluateEntry(in, ',')).row.bandwidthHz, 2700.0);
}

TEST(EvaluateEntry, OnlyTheFirstFailureInCheckOrder) {
    EntryInputs in = DefaultInputs(',');
    in.freeFrequency = true;
    in.frequency = "?";
    in.gain = "?";
    in.method = EntryMethod::AntennaPower;
    in.antennaPower = "?";
    in.bandwidth = "?";
    EXPECT_EQ(Refused(EvaluateEntry(in, ',')).message.text, FrequencyWarning);
    in.frequency = "0";
    EXPECT_EQ(Refused(EvaluateEntry(in, ',')).message.text, GainWarning);
    in.gain = "0";
    EXPECT_EQ(Refused(EvaluateEntry(in, ',')).message.text, AntennaPowerWarning);
    in.antennaPower = "-73";
    // All inputs parsed: now the frequency of 0 is reported, before the bandwidth.
    ExpectFailure(EvaluateEntry(in, ','), MessageKind::Warning,
                  "The frequency must lie between 0,01 and 300 MHz, not 0", std::nullopt, "");
    in.frequency = "3,5";
    ExpectFailure(EvaluateEntry(in, ','), MessageKind::Information, BandwidthInformation,
                  EntryField::Bandwidth, "2700");
}

// A free frequency outside the diagram's axis, 0 in every spelling included, is refused for
// every method, before anything divides by it; the axis's ends are accepted.
TEST(EvaluateEntry, FreeFrequencyOutsideItsLimitsIsRefusedForEveryMethod) {
    EntryInputs in = DefaultInputs('.');
    in.freeFrequency = true;
    in.antennaVoltage = "22";
    in.antennaPower = "-73";
    in.fieldStrength = "20";
    for (EntryMethod m : {EntryMethod::SValue, EntryMethod::AntennaVoltage,
                          EntryMethod::AntennaPower, EntryMethod::FieldStrength}) {
        in.method = m;
        for (const char* f : {"0", "-0", "0.000", "0e5", "-7.1", "0.0099", "300.01", "1e308"}) {
            in.frequency = f;
            ExpectFailure(EvaluateEntry(in, '.'), MessageKind::Warning,
                          "The frequency must lie between 0.01 and 300 MHz, not " + std::string(f),
                          std::nullopt, "");
        }
        for (const char* edge : {"0.01", "300"}) {
            in.frequency = edge;
            Accepted(EvaluateEntry(in, '.'));
        }
    }
}

TEST(EntryTexts, ResetAndDoubleClickTextsFollowTheSeparator) {
    EXPECT_EQ(DefaultGainText(','), "2,15");
    EXPECT_EQ(DefaultGainText('.'), "2.15");
    EXPECT_EQ(ResetText(EntryField::Gain, '.'), "2.15");
    EXPECT_EQ(ResetText(EntryField::AntennaPower, ','), "-73");
    EXPECT_EQ(ResetText(EntryField::AntennaVoltage, ','), "34");
    EXPECT_EQ(ResetText(EntryField::FieldStrength, ','), "20");
    EXPECT_EQ(ResetText(EntryField::Frequency, ','), "");
    EXPECT_EQ(DoubleClickText(EntryField::Gain, ','), "2,15");
    EXPECT_EQ(DoubleClickText(EntryField::AntennaPower, ','), "-103");
    EXPECT_EQ(DoubleClickText(EntryField::AntennaVoltage, ','), "22");
    EXPECT_EQ(DoubleClickText(EntryField::FieldStrength, ','), std::nullopt);
    EXPECT_EQ(DoubleClickText(EntryField::Frequency, ','), std::nullopt);
    EXPECT_EQ(EntryMethodFromIndex(2), EntryMethod::AntennaPower);
    EXPECT_EQ(EntryMethodFromIndex(-1), std::nullopt);
    EXPECT_EQ(EntryMethodFromIndex(4), std::nullopt);
}

TEST(DiagnosticNumber, RoundsToSignificantDigitsThenFixesDecimals) {
    EXPECT_EQ(DiagnosticNumber(3.65, 5, 4, '.'), "3.6500");
    EXPECT_EQ(DiagnosticNumber(82.19178, 4, 1, ','), "82,2");
    EXPECT_EQ(DiagnosticNumber(2205.882, 4, 1, '.'), "2206.0");
    EXPECT_EQ(DiagnosticNumber(0.136, 5, 4, '.'), "0.1360");
    EXPECT_EQ(DiagnosticNumber(145.123456, 5, 4, '.'), "145.1200");
    EXPECT_EQ(DiagnosticNumber(-999, 4, 1, '.'), "-999.0");
    EXPECT_EQ(DiagnosticNumber(0, 4, 1, '.'), "0.0");
    EXPECT_EQ(DiagnosticNumber(123456, 4, 1, '.'), "123500.0");
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

// The warnings name the separator in use: unchanged under a comma, "Point" under a point.
TEST(EvaluateEntry, WarningsNameTheDecimalSeparatorInUse) {
    for (const char* warning : {FrequencyWarning, GainWarning, AntennaVoltageWarning,
                                AntennaPowerWarning, FieldStrengthWarning}) {
        const std::string text(warning);
        EXPECT_EQ(WithSeparatorName(text, ','), text);
        const std::string point = WithSeparatorName(text, '.');
        EXPECT_EQ(point.substr(point.find('!')), "! Use Point as decimal separator!") << text;
        EXPECT_EQ(point.substr(0, point.find('!')), text.substr(0, text.find('!')));
    }
    EntryInputs in = DefaultInputs('.');
    in.gain = "2,15";
    ExpectFailure(EvaluateEntry(in, '.'), MessageKind::Warning,
                  "Gain must be a real number! Use Point as decimal separator!", EntryField::Gain,
                  "2.15");
    EXPECT_EQ(WithSeparatorName(BandwidthInformation, '.'), BandwidthInformation);
}

}  // namespace
}  // namespace fw
