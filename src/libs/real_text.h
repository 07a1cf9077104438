#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Reads the whole text as a real number written with the given decimal separator:
// optional blanks, an optional sign, digits with at most one separator (at least one digit
// in all), an optional exponent ("e" or "E", optional sign, digits), optional blanks.
// The other separator, thousands separators, an empty text, trailing garbage, "inf",
// "nan" and values beyond the double range give no value; values too small for a double
// give zero. Independent of the C locale.
std::optional<double> ParseRealText(std::string_view text, char decimalSeparator);

// The same for bulk reading: stores the value in `out` and returns true, or returns false
// and leaves `out` unchanged.
bool ParseRealText(std::string_view text, char decimalSeparator, double& out);

// Reads the number at the start of [first, last) with the same grammar, blanks around it
// included, and stops at the first character that cannot continue it. Returns where it
// stopped, or nullptr (and `out` unchanged) when no valid number stands there. Lets a
// caller read a field in place, without first looking for the field's end.
const char* ParseRealPrefix(const char* first, const char* last, char decimalSeparator,
                            double& out);

// Reads the whole text as a real number written with a point or a comma as the decimal
// separator, as a command line takes numbers under any locale.
std::optional<double> ParseRealPointOrComma(std::string_view text);

// A number written with a point or a comma rewritten with `decimalSeparator`, so that code
// reading the regional separator takes it ("7.1" -> "7,1" for ','); any other text as it is.
std::string WithRegionalSeparator(std::string_view text, char decimalSeparator);

// The text with each point between two digits, the decimal point of a number written in
// the C locale, replaced by `decimalSeparator`; "Freq." and "P.372" keep their points.
std::string WithDecimalSeparator(std::string text, char decimalSeparator);

}  // namespace fw
