#pragma once
// The levels a receiver can see at its antenna. A typed entry, a rig reading or an SDR
// reading beyond them comes from a typing or calibration fault, never from a measurement,
// and would still convert into a row that looks plausible.
#include <optional>
#include <string>
#include <string_view>

#include "measure/entry.h"

namespace fw {

struct ReceiverLevelRange {
    std::string_view quantity;  // "Antenna voltage"
    std::string_view unit;      // "dBuV"
    double low;
    double high;
};

inline constexpr ReceiverLevelRange AntennaVoltageRange{"Antenna voltage", "dBuV", -100, 200};
inline constexpr ReceiverLevelRange AntennaPowerRange{"Antenna power", "dBm", -220, 80};
inline constexpr ReceiverLevelRange FieldStrengthRange{"Field strength", "dBuV/m", -100, 200};

// The refusal of the first level outside its range, the level that `method` enters checked
// first: "Antenna voltage -10000,0 dBuV lies outside -100 ... 200 dBuV: no receiver sees
// such a level!"; none when every known level lies within. A field-strength entry knows
// only its field strength.
std::optional<std::string> LevelOutsideReceiverRange(const MeasurementLevels& m,
                                                     EntryMethod method, char sep);

// The refusal of a typed level outside the range of the field that `method` enters, naming
// it as it was typed ("Field strength 1e308 dBuV/m lies outside ..."); none within it, and
// none for an S-value, which its list holds within.
std::optional<std::string> EnteredLevelOutsideRange(EntryMethod method, double level,
                                                    std::string_view given);

}  // namespace fw
