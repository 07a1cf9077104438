#include "measure/level_range.h"

#include <vector>

namespace fw {

namespace {

struct CheckedLevel {
    const ReceiverLevelRange* range;
    double value;
};

std::string RangeNumber(double value) {
    std::string text;
    AppendFixed(text, value, 0, '.');
    return text;
}

std::string OutsideText(const ReceiverLevelRange& range, std::string_view value) {
    std::string text(range.quantity);
    text += ' ';
    text += value;
    text += ' ';
    text += range.unit;
    text += " lies outside " + RangeNumber(range.low) + " ... " + RangeNumber(range.high);
    text += ' ';
    text += range.unit;
    text += ": no receiver sees such a level!";
    return text;
}

}  // namespace

std::optional<std::string> EnteredLevelOutsideRange(EntryMethod method, double level,
                                                    std::string_view given) {
    const ReceiverLevelRange* range = nullptr;
    switch (method) {
        case EntryMethod::AntennaVoltage:
            range = &AntennaVoltageRange;
            break;
        case EntryMethod::AntennaPower:
            range = &AntennaPowerRange;
            break;
        case EntryMethod::FieldStrength:
            range = &FieldStrengthRange;
            break;
        case EntryMethod::SValue:
            return std::nullopt;
    }
    if (level >= range->low && level <= range->high) return std::nullopt;
    return OutsideText(*range, given);
}

std::optional<std::string> LevelOutsideReceiverRange(const MeasurementLevels& m,
                                                     EntryMethod method, char sep) {
    const CheckedLevel voltage{&AntennaVoltageRange, m.AntVoltDbuV};
    const CheckedLevel power{&AntennaPowerRange, m.AntPowerDbm};
    const CheckedLevel field{&FieldStrengthRange, m.FieldDbuVm};
    std::vector<CheckedLevel> order;
    switch (method) {
        case EntryMethod::FieldStrength:
            order = {field};
            break;
        case EntryMethod::AntennaPower:
            order = {power, voltage, field};
            break;
        case EntryMethod::SValue:
        case EntryMethod::AntennaVoltage:
            order = {voltage, power, field};
            break;
    }
    for (const CheckedLevel& c : order) {
        if (c.value >= c.range->low && c.value <= c.range->high) continue;
        std::string value;
        AppendFixed(value, c.value, 1, sep);
        return OutsideText(*c.range, value);
    }
    return std::nullopt;
}

}  // namespace fw
