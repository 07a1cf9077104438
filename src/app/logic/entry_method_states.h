#pragma once
// Which inputs of the "Add Measurement" group can be edited, and which are emptied, for
// each entry method of the "Entry Method" radio group.
namespace fw {

inline constexpr int EntryMethodCount = 4;  // S-value, antenna voltage, antenna power, field

struct EntryMethodStates {
    bool sValueEnabled = false;
    bool gainEditable = false;
    bool powerEditable = false;
    bool voltageEditable = false;
    bool fieldEditable = false;
    bool clearGain = false;
    bool clearPower = false;
    bool clearVoltage = false;
    bool clearField = false;
};

// States for the radio group's item index (0..3); an index outside acts as 0.
EntryMethodStates StatesForEntryMethod(int index);

}  // namespace fw
