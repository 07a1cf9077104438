#include "entry_method_states.h"

#include <array>

namespace fw {

namespace {

// S-value selector, gain, power, voltage, field editable; then the fields emptied.
constexpr std::array<EntryMethodStates, EntryMethodCount> Table{{
    {true, true, false, false, false, false, true, true, true},   // "S-Value"
    {false, true, false, true, false, false, true, false, true},  // "Antenna-Voltage [dBuV]"
    {false, true, true, false, false, false, false, true, true},  // "Antenna-Power [dBm]"
    {false, false, false, false, true, true, true, true, false},  // "Field-strength [dBuV/m]"
}};

}  // namespace

EntryMethodStates StatesForEntryMethod(int index) {
    if (index < 0 || index >= EntryMethodCount) index = 0;
    return Table[static_cast<std::size_t>(index)];
}

}  // namespace fw
