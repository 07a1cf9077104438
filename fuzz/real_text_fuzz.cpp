// Feeds arbitrary text to the real-number parser under both decimal separators and checks it
// against the C library's strtod (C locale, so a point): every accepted text is read there to
// the same value, and every text of the parser's own grammar that strtod reads whole to a
// finite value is accepted.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "libs/real_text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Only characters the grammar can use: digits, the separator, exponent marks, signs, blanks.
// On such texts strtod reads nothing but decimal numbers either (no inf, nan or hex).
bool OnlyGrammarCharacters(std::string_view text, char sep) {
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || c == sep || c == 'e' || c == 'E' || c == '+' || c == '-' ||
              IsBlank(c)))
            return false;
    return true;
}

bool SameDouble(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

void Check(std::string_view text, char sep) {
    const std::optional<double> value = fw::ParseRealText(text, sep);

    // The text as strtod wants it: the separator as a point, no blanks at either end (strtod
    // skips more kinds of leading white space and no trailing ones).
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    std::string plain(text.substr(first, last - first));
    for (char& c : plain)
        if (c == sep) c = '.';
    const bool leadingSpace = !plain.empty() && std::strchr(" \t\n\v\f\r", plain[0]) != nullptr;
    char* end = nullptr;
    errno = 0;
    const double reference = std::strtod(plain.c_str(), &end);
    const bool readWhole = !plain.empty() && !leadingSpace && end == plain.c_str() + plain.size() &&
                           std::memchr(plain.data(), '\0', plain.size()) == nullptr;

    if (value) {
        if (!std::isfinite(*value)) std::abort();
        if (!readWhole || !SameDouble(*value, reference)) std::abort();
        return;
    }
    if (readWhole && OnlyGrammarCharacters(text, sep) && std::isfinite(reference)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(text, ',');
    Check(text, '.');
    return 0;
}
