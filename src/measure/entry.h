#pragma once
// The "Add Measurement" logic without widgets: the texts and states of the entry controls
// in, either a finished row with the texts to write back, or exactly one failure out.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "libs/message.h"
#include "libs/startup_values.h"
#include "measure/meas_list.h"
#include "model/levels.h"

namespace fw {

enum class EntryMethod { SValue = 0, AntennaVoltage = 1, AntennaPower = 2, FieldStrength = 3 };

struct EntryMethodInfo {
    std::string_view item;  // caption in the "Entry Method" radio group
    std::string_view tag;   // stored with the measurement as MeasEntryUnit
};

// Indexed by EntryMethod, in radio-group order.
extern const std::array<EntryMethodInfo, 4> EntryMethods;

// The method of a radio-group index 0..3; none for any other index.
std::optional<EntryMethod> EntryMethodFromIndex(int index);

// Which inputs a method lets the user edit, and which fields selecting it empties.
struct EntryControlStates {
    bool sValueEnabled;
    bool gainEditable;
    bool powerEditable;
    bool voltageEditable;
    bool fieldEditable;
    bool clearGain;
    bool clearPower;
    bool clearVoltage;
    bool clearField;
};
EntryControlStates ControlStatesFor(EntryMethod method);

// The entry's input controls that a failure or a double-click can set.
enum class EntryField { Frequency, Gain, AntennaPower, AntennaVoltage, FieldStrength, Bandwidth };

// Start-up text of the gain field, written with the given separator ("2,15" or "2.15").
std::string DefaultGainText(char sep);

// The text a field is reset to when its content is refused: gain "2,15", antenna power
// "-73", antenna voltage "34", field strength "20", bandwidth "2700". The frequency field
// has none and keeps its text (empty result).
std::string ResetText(EntryField field, char sep);

// The text a double-click puts into a field: gain "2,15", antenna power "-103", antenna
// voltage "22"; none for the other fields.
std::optional<std::string> DoubleClickText(EntryField field, char sep);

// `message` naming the decimal separator in use: the warnings' "Use Komma as decimal
// separator!" stays under a comma and says "Use Point as decimal separator!" under a point.
std::string WithSeparatorName(std::string_view message, char sep);

inline constexpr const char* FrequencyWarning =
    "Frequency must be a real number! Use Komma as decimal separator!";
inline constexpr const char* GainWarning =
    "Gain must be a real number! Use Komma as decimal separator!";
inline constexpr const char* AntennaVoltageWarning =
    "Antenna Voltage must be a real number! Use Komma as decimal separator!";
inline constexpr const char* AntennaPowerWarning =
    "Antenna-Power must be a real number! Use Komma as decimal separator!";
inline constexpr const char* FieldStrengthWarning =
    "Fieldstrength must be a real number! Use Komma as decimal separator!";
// Points into the shared literal, so it ends with a zero like the other texts.
inline constexpr const char* BandwidthInformation = BandwidthRefusedText.data();

// The refusals of a band or S-value text that is not in its list; they name what is
// accepted: "Band \"60m\" is not in the band list (LW, MW, ..., 2m)! ..." and "S-value
// \"S9+5x\" is unknown! Use S1 ... S9 or S9+N with a whole N from 1 to 60."
std::string UnknownBandText(std::string_view band);
std::string UnknownSValueText(std::string_view sValue);

// What the window reads at the press of the button.
struct EntryInputs {
    std::string band;  // band selector text
    bool freeFrequency = false;
    std::string frequency;  // frequency field, MHz
    std::string sValue;     // S-value selector text
    std::string gain;
    std::string antennaPower;
    std::string antennaVoltage;
    std::string fieldStrength;
    EntryMethod method = EntryMethod::SValue;
    std::string bandwidth;  // bandwidth box text, Hz
};

// The one message of a refused entry; only the named field (if any) changes.
struct EntryFailure {
    Message message;
    std::optional<EntryField> resetField;
    std::string resetText;
};

// A finished entry: the row to append, the texts for the power, voltage, field-strength
// and gain fields, and the six lines of the diagnostic panel.
struct EntryAccepted {
    MeasRow row;
    MeasurementLevels levels;
    std::string powerText;
    std::string voltageText;
    std::string fieldText;
    std::string gainText;
    std::array<std::string, 6> diagnostics;
};

using EntryResult = std::variant<EntryAccepted, EntryFailure>;

// Checks the inputs in order (band or frequency, gain, entered level or S-value as numbers;
// then a free frequency and the gain within their limits, the entered level and the levels
// it converts to within a receiver's range, the bandwidth), converts the entered level into
// all units and builds the row.
EntryResult EvaluateEntry(const EntryInputs& in, char sep);

// `value` rounded to `significant` digits, then written with `decimals` digits after the
// separator, as the diagnostic panel shows numbers (3.65 -> "3.6500" with 5 and 4).
std::string DiagnosticNumber(double value, int significant, int decimals, char sep);

}  // namespace fw
