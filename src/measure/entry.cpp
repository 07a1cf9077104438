#include "measure/entry.h"

#include <charconv>
#include <cmath>

#include "libs/fw_math.h"
#include "libs/int_text.h"
#include "libs/real_text.h"
#include "measure/entry_limits.h"
#include "measure/level_range.h"

namespace fw {

const std::array<EntryMethodInfo, 4> EntryMethods = {{
    {"S-Value", "S-Val"},
    {"Antenna-Voltage [dBuV]", "AntVol"},
    {"Antenna-Power [dBm]", "AntPwr"},
    {"Field-strength [dBuV/m]", "Field"},
}};

std::optional<EntryMethod> EntryMethodFromIndex(int index) {
    if (index < 0 || index >= static_cast<int>(EntryMethods.size())) return std::nullopt;
    return static_cast<EntryMethod>(index);
}

EntryControlStates ControlStatesFor(EntryMethod method) {
    switch (method) {
        case EntryMethod::SValue:
            return {true, true, false, false, false, false, true, true, true};
        case EntryMethod::AntennaVoltage:
            return {false, true, false, true, false, false, true, false, true};
        case EntryMethod::AntennaPower:
            return {false, true, true, false, false, false, false, true, true};
        case EntryMethod::FieldStrength:
            return {false, false, false, false, true, true, true, true, false};
    }
    return {};
}

std::string DefaultGainText(char sep) {
    return std::string("2") + sep + "15";
}

std::string ResetText(EntryField field, char sep) {
    switch (field) {
        case EntryField::Gain:
            return DefaultGainText(sep);
        case EntryField::AntennaPower:
            return "-73";
        case EntryField::AntennaVoltage:
            return "34";
        case EntryField::FieldStrength:
            return "20";
        case EntryField::Bandwidth:
            return std::string(StartBandwidthText);
        case EntryField::Frequency:
            break;
    }
    return {};
}

std::optional<std::string> DoubleClickText(EntryField field, char sep) {
    switch (field) {
        case EntryField::Gain:
            return DefaultGainText(sep);
        case EntryField::AntennaPower:
            return "-103";
        case EntryField::AntennaVoltage:
            return "22";
        default:
            return std::nullopt;
    }
}

std::string DiagnosticNumber(double value, int significant, int decimals, char sep) {
    double rounded = value;
    if (std::isfinite(value) && value != 0.0 && significant > 0) {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                                       significant - 1);
        std::from_chars(buf, res.ptr, rounded);
    }
    std::string out;
    AppendFixed(out, rounded, decimals, sep);
    return out;
}

std::string WithSeparatorName(std::string_view message, char sep) {
    std::string text(message);
    constexpr std::string_view comma = "Use Komma as";
    if (sep == ',') return text;
    if (const auto at = text.find(comma); at != std::string::npos)
        text.replace(at, comma.size(), "Use Point as");
    return text;
}

std::string UnknownBandText(std::string_view band) {
    std::string text = "Band \"" + std::string(band) + "\" is not in the band list (";
    for (const BandEntry& b : BandTable) {
        if (&b != &BandTable.front()) text += ", ";
        text += b.text;
    }
    return text + ")! Enter any other frequency as a free frequency.";
}

std::string UnknownSValueText(std::string_view sValue) {
    return "S-value \"" + std::string(sValue) +
           "\" is unknown! Use S1 ... S9 or S9+N with a whole N from 1 to 60.";
}

namespace {

EntryFailure Refuse(MessageKind kind, std::string_view message, std::optional<EntryField> field,
                    char sep) {
    return EntryFailure{Message{kind, WithSeparatorName(message, sep)}, field,
                        field ? ResetText(*field, sep) : std::string()};
}

EntryFailure RefuseField(EntryField field, char sep) {
    switch (field) {
        case EntryField::Frequency:
            return Refuse(MessageKind::Warning, FrequencyWarning, std::nullopt, sep);
        case EntryField::Gain:
            return Refuse(MessageKind::Warning, GainWarning, field, sep);
        case EntryField::AntennaVoltage:
            return Refuse(MessageKind::Warning, AntennaVoltageWarning, field, sep);
        case EntryField::AntennaPower:
            return Refuse(MessageKind::Warning, AntennaPowerWarning, field, sep);
        case EntryField::FieldStrength:
            return Refuse(MessageKind::Warning, FieldStrengthWarning, field, sep);
        case EntryField::Bandwidth:
            break;
    }
    return Refuse(MessageKind::Information, BandwidthInformation, EntryField::Bandwidth, sep);
}

const std::string& TextOf(const EntryInputs& in, EntryField field) {
    switch (field) {
        case EntryField::Frequency:
            return in.frequency;
        case EntryField::Gain:
            return in.gain;
        case EntryField::AntennaPower:
            return in.antennaPower;
        case EntryField::AntennaVoltage:
            return in.antennaVoltage;
        case EntryField::FieldStrength:
            return in.fieldStrength;
        case EntryField::Bandwidth:
            break;
    }
    return in.bandwidth;
}

// The field whose number the method reads as the entered level; none for S-values.
std::optional<EntryField> LevelField(EntryMethod method) {
    switch (method) {
        case EntryMethod::AntennaVoltage:
            return EntryField::AntennaVoltage;
        case EntryMethod::AntennaPower:
            return EntryField::AntennaPower;
        case EntryMethod::FieldStrength:
            return EntryField::FieldStrength;
        case EntryMethod::SValue:
            break;
    }
    return std::nullopt;
}

MeasurementLevels Convert(EntryMethod method, double level, double fMHz, double gain) {
    switch (method) {
        case EntryMethod::AntennaVoltage:
            return LevelsFromAntennaVoltage(level, fMHz, gain);
        case EntryMethod::AntennaPower:
            return LevelsFromAntennaPower(level, fMHz, gain);
        case EntryMethod::FieldStrength:
            return LevelsFromFieldStrength(level);
        case EntryMethod::SValue:
            break;
    }
    return LevelsFromSValue(level, fMHz, gain);
}

bool Finite(const MeasurementLevels& m) {
    return std::isfinite(m.SUnits) && std::isfinite(m.AntVoltDbuV) &&
           std::isfinite(m.AntPowerDbm) && std::isfinite(m.FieldDbuVm);
}

// Extreme but valid numbers can overflow a conversion. Such a row could be neither saved
// nor loaded again, so the input that causes it is refused like an unreadable one.
EntryField CauseOfOverflow(EntryMethod method, double level, double fMHz) {
    const auto levelField = LevelField(method);
    if (levelField && !Finite(Convert(method, level, 1.0, 0.0))) return *levelField;
    if (!Finite(Convert(method, level, fMHz, 0.0))) return EntryField::Frequency;
    return EntryField::Gain;
}

std::string_view LevelText(const EntryInputs& in, EntryMethod method) {
    const auto field = LevelField(method);
    return field ? std::string_view(TextOf(in, *field)) : std::string_view(in.sValue);
}

// The refusal of a free frequency or a gain outside the limits that the rig's readings
// keep too; a field-strength entry reads no gain.
std::optional<EntryFailure> OutsideEntryLimits(const EntryInputs& in, EntryMethod method,
                                               double fMHz, double gain, char sep) {
    if (in.freeFrequency && !FrequencyMHzLimits.holds(fMHz))
        return EntryFailure{{MessageKind::Warning,
                             OutOfRangeText("The frequency", FrequencyMHzLimits.low,
                                            FrequencyMHzLimits.high, "MHz", in.frequency, sep)},
                            std::nullopt,
                            {}};
    if (method != EntryMethod::FieldStrength && !GainDbLimits.holds(gain))
        return EntryFailure{{MessageKind::Warning,
                             OutOfRangeText("The gain", GainDbLimits.low, GainDbLimits.high, "dBi",
                                            in.gain, sep)},
                            std::nullopt,
                            {}};
    return std::nullopt;
}

std::array<std::string, 6> DiagnosticLines(double fMHz, const MeasurementLevels& m, char sep) {
    return {
        "fMHz.....: " + DiagnosticNumber(fMHz, 5, 4, sep),
        "Lambda...: " + DiagnosticNumber(m.WavelengthM, 4, 1, sep),
        "U[uV]....: " + DiagnosticNumber(m.Microvolt, 4, 1, sep),
        "U[dBuV]..: " + DiagnosticNumber(m.AntVoltDbuV, 4, 1, sep),
        "P[dBm]...: " + DiagnosticNumber(m.AntPowerDbm, 4, 1, sep),
        "E[dBuVm].: " + DiagnosticNumber(m.FieldDbuVm, 4, 1, sep),
    };
}

}  // namespace

EntryResult EvaluateEntry(const EntryInputs& in, char sep) {
    // The lists' fallbacks (1 MHz, S 0) would store a row far from what was meant.
    const std::optional<double> bandMHz = KnownBandFrequencyMHz(in.band);
    if (!in.freeFrequency && !bandMHz)
        return EntryFailure{{MessageKind::Warning, UnknownBandText(in.band)}, std::nullopt, {}};
    double fMHz = bandMHz.value_or(0.0);
    if (in.freeFrequency && !ParseRealText(in.frequency, sep, fMHz))
        return RefuseField(EntryField::Frequency, sep);

    const EntryMethod method = in.method;
    double gain = 0.0;
    if (method != EntryMethod::FieldStrength && !ParseRealText(in.gain, sep, gain))
        return RefuseField(EntryField::Gain, sep);
    double level = 0.0;
    if (const auto field = LevelField(method);
        field && !ParseRealText(TextOf(in, *field), sep, level))
        return RefuseField(*field, sep);
    if (method == EntryMethod::SValue) {
        const std::optional<double> s = KnownSValue(in.sValue);
        if (!s)
            return EntryFailure{
                {MessageKind::Warning, UnknownSValueText(in.sValue)}, std::nullopt, {}};
        level = *s;
    }

    // Values no receiver or antenna has would still convert, into rows that look right (a
    // gain of 1e9 dBi gives a field strength of 0.0), so they are refused with the limits.
    if (auto outside = OutsideEntryLimits(in, method, fMHz, gain, sep)) return *outside;
    if (auto outside = EnteredLevelOutsideRange(method, level, LevelText(in, method)))
        return EntryFailure{{MessageKind::Warning, std::move(*outside)}, std::nullopt, {}};
    const MeasurementLevels m = Convert(method, level, fMHz, gain);
    if (!Finite(m)) return RefuseField(CauseOfOverflow(method, level, fMHz), sep);
    if (auto outside = LevelOutsideReceiverRange(m, method, sep))
        return EntryFailure{{MessageKind::Warning, std::move(*outside)}, std::nullopt, {}};

    const auto bandwidth = ParseIntText(in.bandwidth);
    if (!bandwidth) return RefuseField(EntryField::Bandwidth, sep);
    if (!BandwidthHzLimits.holds(*bandwidth))
        return Refuse(MessageKind::Warning,
                      OutOfRangeText("The bandwidth", BandwidthHzLimits.low,
                                     BandwidthHzLimits.high, "Hz", in.bandwidth, sep),
                      EntryField::Bandwidth, sep);

    EntryAccepted ok;
    ok.levels = m;
    ok.powerText = FormatLevel("%3.1f", m.AntPowerDbm, sep);
    ok.voltageText = FormatLevel("%3.1f", m.AntVoltDbuV, sep);
    ok.fieldText = FormatLevel("%3.1f", m.FieldDbuVm, sep);
    ok.gainText = FormatLevel("%3.2f", m.GainDbi, sep);
    ok.diagnostics = DiagnosticLines(fMHz, m, sep);
    ok.row = MeasRow{fMHz,
                     m.FieldDbuVm,
                     static_cast<double>(*bandwidth),
                     std::string(EntryMethods[static_cast<std::size_t>(method)].tag),
                     m.GainDbi,
                     m.SUnits,
                     m.AntVoltDbuV,
                     m.AntPowerDbm};
    return ok;
}

}  // namespace fw
