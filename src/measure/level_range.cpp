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

}  // namespace

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
        std::string text(c.range->quantity);
        text += ' ';
        AppendFixed(text, c.value, 1, sep);
        text += ' ';
        text += c.range->unit;
        text += " lies outside " + RangeNumber(c.range->low) + " ... " + RangeNumber(c.range->high);
        text += ' ';
        text += c.range->unit;
        text += ": no receiver sees such a level!";
        return text;
    }
    return std::nullopt;
}

}  // namespace fw
