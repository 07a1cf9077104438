#include "measure/entry_limits.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace fw {

std::string ExactNumberText(double value, char sep) {
    char buf[64];
    // Whole numbers in plain digits: a limit of 200000000 Hz, not 2e+08.
    const bool whole = std::abs(value) < 1e15 && value == std::trunc(value);
    const auto end = whole ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed).ptr
                           : std::to_chars(buf, buf + sizeof buf, value).ptr;
    std::string text(buf, end);
    std::replace(text.begin(), text.end(), '.', sep);
    return text;
}

std::string OutOfRangeText(std::string_view what, double low, double high, std::string_view unit,
                           std::string_view given, char sep) {
    std::string text(what);
    text += " must lie between " + ExactNumberText(low, sep) + " and " +
            ExactNumberText(high, sep);
    if (!unit.empty()) text += " " + std::string(unit);
    return text + ", not " + std::string(given);
}

}  // namespace fw
