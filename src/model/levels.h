#pragma once
// Conversions between the signal-level units of a measurement (S-units, uV, dBuV, dBm,
// dBuV/m), the band and S-meter tables, and the display rule for levels.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

inline constexpr double ReferenceOhm = 50.0;
inline constexpr double WavelengthConstant = 300.0;  // metres times MHz
// 480 * pi^2, the constant of the field-strength (antenna factor) formula.
inline constexpr double FieldStrengthConstant = 4737.410112522892;

struct BandEntry {
    std::string_view text;  // text of the band selector
    double frequencyMHz;
};

struct SValueEntry {
    std::string_view text;  // text of the S-value selector
    double sUnits;
};

// In selector order.
extern const std::array<BandEntry, 13> BandTable;
extern const std::array<SValueEntry, 13> SValueTable;

double SUnitsToMicrovolt(double s);
// 9 + D/6 with D the decibels over 50 uV; exactly 9 for u <= 0.
double MicrovoltToSUnits(double u);
double DbuvToMicrovolt(double d);
double MicrovoltToDbuv(double u);
double MicrovoltToDbm(double u);
double DbmToMicrovolt(double p);
// 300 / f; infinite for f == 0, which callers refuse beforehand.
double WavelengthM(double fMHz);
double GainFactor(double gainDbi);
// Field strength in dBuV/m at the antenna from the receiver voltage u (uV); the frequency
// must not be 0.
double FieldStrengthDbuVm(double u, double fMHz, double gainDbi);

// Exact, case-sensitive look-ups without a fallback: none for an unknown text. Besides the
// table's texts the S-value reads "S9+N" for a whole N from 1 to 60 (no sign, no leading
// zero) as 9 + N/6, the table's own rule.
std::optional<double> KnownBandFrequencyMHz(std::string_view text);
std::optional<double> KnownSValue(std::string_view text);

// The same with the fallback for unknown texts: 1.0 MHz and 0 S-units.
double BandFrequencyMHz(std::string_view text);
double SValueFromText(std::string_view text);

// The levels of one measurement; Microvolt and WavelengthM are intermediate values shown
// by the diagnostic panel only.
struct MeasurementLevels {
    double SUnits = 0;
    double AntVoltDbuV = 0;
    double AntPowerDbm = 0;
    double GainDbi = 0;
    double FieldDbuVm = 0;
    double Microvolt = 0;
    double WavelengthM = 0;
};

// One per entry method. The first three need a frequency other than 0.
MeasurementLevels LevelsFromSValue(double s, double fMHz, double gainDbi);
MeasurementLevels LevelsFromAntennaVoltage(double dbuv, double fMHz, double gainDbi);
MeasurementLevels LevelsFromAntennaPower(double dbm, double fMHz, double gainDbi);
// Only the field strength is known; the other levels become UnknownLevel.
MeasurementLevels LevelsFromFieldStrength(double dbuvm);

// Appends `value` in fixed point with `decimals` digits after the separator (C-locale
// rounding, any magnitude), without padding or the dash mark.
void AppendFixed(std::string& out, double value, int decimals, char decimalSeparator);

// Appends `value` in fixed point with `decimals` digits, right-aligned in `width`, then "|"
// if `bar`; a value <= UnknownLevel (or NaN) appends " --- " right-aligned in `width`
// instead (never cut). The fast path of FormatLevel for fixed layouts.
void AppendLevel(std::string& out, int width, int decimals, bool bar, double value,
                 char decimalSeparator);

// Display rule for a level. `format` is a fixed-point format such as "%7.3f|" or "%3.1f":
// literal text, "%", width, ".", decimals, "f", literal text. Values above UnknownLevel are
// formatted with it; others give " --- " right-aligned in the width, followed by "|" when
// the format ends with "|". A format without a conversion is returned as it is.
std::string FormatLevel(std::string_view format, double value, char decimalSeparator);

}  // namespace fw
