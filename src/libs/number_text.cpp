#include "libs/number_text.h"

#include <algorithm>
#include <charconv>

namespace fw {

namespace {

std::string Written(char* buf, char* end, char sep) {
    std::string text(buf, end);
    // No sign before a zero: "-0", "-0.0" and "-0e+00" become "0", "0.0" and "0e+00".
    const auto mantissa = text.begin() + static_cast<std::ptrdiff_t>(
                                             std::min(text.find_first_of("eE"), text.size()));
    const bool zero = std::all_of(text.begin() + 1, mantissa, [](char c) { return c == '0' || c == '.'; });
    if (text.front() == '-' && zero) text.erase(0, 1);
    if (sep != '.') std::replace(text.begin(), text.end(), '.', sep);
    return text;
}

}  // namespace

std::string FixedText(double v, int decimals, char sep) {
    char buf[400];  // room for DBL_MAX in fixed notation
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr;
    return Written(buf, end, sep);
}

std::string SignedFixedText(double v, int decimals, char sep) {
    std::string text = FixedText(v, decimals, sep);
    if (text.front() != '-') text.insert(text.begin(), '+');
    return text;
}

std::string GeneralText(double v, int digits, char sep) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, digits).ptr;
    return Written(buf, end, sep);
}

}  // namespace fw
