#pragma once
// Numbers as text, one rule for the whole program. Written with std::to_chars, never through
// the C locale; the decimal separator is the caller's ('.' for files, reports and pictures,
// the regional one in the window); a value that rounds to zero has no sign: "0.0", never
// "-0.0", in every helper below.
#include <string>

namespace fw {

// `decimals` digits after the separator: FixedText(-1.25, 1) = "-1.2", FixedText(-0.04, 1)
// = "0.0", FixedText(2.5, 0) = "2".
std::string FixedText(double v, int decimals, char sep = '.');

// The same with a sign before every value, zero included: "+1.5", "-0.3", "+0.0".
std::string SignedFixedText(double v, int decimals, char sep = '.');

// At most `digits` significant digits, trailing zeros dropped, in an exponent only where
// the value is very large or small: 2700 -> "2700", 0.25 -> "0.25", 1e-07 -> "1e-07".
std::string GeneralText(double v, int digits = 6, char sep = '.');

}  // namespace fw
