#include "libs/real_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace fw {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal order of magnitude of a validated number: the exponent plus the position of the
// first non-zero mantissa digit relative to the separator. Tells a too-large value from a
// too-small one when the conversion reports the range error. Saturates instead of
// overflowing on absurd exponents.
long long OrderOfMagnitude(std::string_view mantissa, std::string_view exponent, char sep) {
    long long exp = 0;
    bool negative = false;
    std::size_t i = 0;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        negative = exponent[0] == '-';
        i = 1;
    }
    constexpr long long cap = 1'000'000'000LL;
    for (; i < exponent.size(); ++i) {
        exp = exp * 10 + (exponent[i] - '0');
        if (exp > cap) exp = cap;
    }
    if (negative) exp = -exp;

    long long position = 0;  // digits before the separator, counted from the first non-zero
    bool seenSeparator = false;
    bool seenNonZero = false;
    for (const char c : mantissa) {
        if (c == sep) {
            seenSeparator = true;
            continue;
        }
        if (!seenNonZero && c != '0') seenNonZero = true;
        if (!seenSeparator && seenNonZero) ++position;
        if (seenSeparator && !seenNonZero) --position;
    }
    return exp + position;
}

// True when the eight characters at p are all digits; then `value` is their number. Reads
// them as one little-endian word, joins neighbouring digits into two-digit numbers, then
// the four of those with two multiplications, instead of one multiplication per digit.
bool EightDigits(const char* p, std::uint64_t& value) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    // A byte below '0' wraps in the subtraction, one above '9' carries into the high bit.
    if (((word - 0x3030303030303030) | (word + 0x4646464646464646)) & 0x8080808080808080)
        return false;
    word -= 0x3030303030303030;      // digit values, first digit lowest
    word = word * 10 + (word >> 8);  // two-digit numbers in the even bytes
    const std::uint64_t pairs = 0x000000FF000000FF;
    value = ((word & pairs) * (100 + (1000000ULL << 32)) +
             ((word >> 16) & pairs) * (1 + (10000ULL << 32))) >>
            32;
    return true;
}

// Appends the digits from p on to `significand` (wrapping past 2^64, which the caller
// detects by the digit count) and returns the position of the first non-digit. Inline, as
// the call would cost as much as the digits of a short number.
inline const char* ReadDigits(const char* p, const char* last, std::uint64_t& significand) {
    std::uint64_t value = significand;  // a local, which the character reads cannot alias
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t eight = 0;
        while (last - p >= 8 && EightDigits(p, eight)) {
            value = value * 100'000'000 + eight;
            p += 8;
        }
    }
    for (; p != last && IsDigit(*p); ++p) value = value * 10 + static_cast<unsigned>(*p - '0');
    significand = value;
    return p;
}

// The correctly rounded value of a validated, unsigned number that the short path cannot
// take: many digits or a large exponent. `mantissaLength` counts the characters before
// the exponent mark. False for a value beyond the double range; too small gives zero.
bool ConvertInGeneral(std::string_view number, std::size_t mantissaLength, char sep,
                      double& value) {
    // The conversion wants a point; short texts are copied to the stack.
    char small[64];
    std::string large;
    char* buf = small;
    if (number.size() > sizeof small) {
        large.resize(number.size());
        buf = large.data();
    }
    for (std::size_t k = 0; k < number.size(); ++k) buf[k] = number[k] == sep ? '.' : number[k];

    const auto [ptr, ec] =
        std::from_chars(buf, buf + number.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const std::string_view mantissa = number.substr(0, mantissaLength);
        const std::string_view exponent =
            number.substr(std::min(mantissaLength + 1, number.size()));
        if (OrderOfMagnitude(mantissa, exponent, sep) > 0) return false;
        value = 0.0;
        return true;
    }
    return ec == std::errc() && ptr == buf + number.size();
}

}  // namespace

const char* ParseRealPrefix(const char* first, const char* last, char decimalSeparator,
                            double& out) {
    const char* p = first;
    while (p != last && IsBlank(*p)) ++p;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* const numberBegin = p;

    // Validate the grammar (the conversion would accept more, such as inf and nan) and
    // gather the digits; with at most 19 of them the integer is exact.
    std::uint64_t significand = 0;
    p = ReadDigits(p, last, significand);
    const std::size_t intDigits = static_cast<std::size_t>(p - numberBegin);
    std::size_t fracDigits = 0;
    if (p != last && *p == decimalSeparator) {
        const char* const fracBegin = ++p;
        p = ReadDigits(p, last, significand);
        fracDigits = static_cast<std::size_t>(p - fracBegin);
    }
    if (intDigits + fracDigits == 0) return nullptr;
    const auto mantissaLength = static_cast<std::size_t>(p - numberBegin);
    long long exp = 0;
    if (p != last && (*p == 'e' || *p == 'E')) {
        ++p;
        bool expNegative = false;
        if (p != last && (*p == '+' || *p == '-')) expNegative = *p++ == '-';
        const char* const expDigits = p;
        for (; p != last && IsDigit(*p); ++p) exp = std::min(exp * 10 + (*p - '0'), 999999LL);
        if (p == expDigits) return nullptr;
        if (expNegative) exp = -exp;
    }
    const std::string_view number(numberBegin, static_cast<std::size_t>(p - numberBegin));
    while (p != last && IsBlank(*p)) ++p;

    // An integer up to 2^53 and a power of ten up to 10^22 are both exact doubles, so one
    // multiplication or division rounds correctly. Kept beside std::from_chars, which alone
    // makes loading a 100,000-row data file about 1.8 times slower (measure_bench).
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const long long power = exp - static_cast<long long>(fracDigits);
    const bool exactSignificand =
        intDigits + fracDigits <= 19 && significand <= (std::uint64_t{1} << 53);
    double value = 0.0;
    if (exactSignificand && (significand == 0 || (power >= -22 && power <= 22))) {
        value = static_cast<double>(significand);
        if (significand == 0)
            ;  // zero with any exponent
        else if (power < 0)
            value /= powers[-power];
        else
            value *= powers[power];
    } else if (!ConvertInGeneral(number, mantissaLength, decimalSeparator, value)) {
        return nullptr;
    }
    out = negative ? -value : value;
    return p;
}

bool ParseRealText(std::string_view text, char decimalSeparator, double& out) {
    const char* const last = text.data() + text.size();
    double value = 0.0;
    // An empty view may have no data at all: then the failure's nullptr equals its end.
    const char* const stop = ParseRealPrefix(text.data(), last, decimalSeparator, value);
    if (stop == nullptr || stop != last) return false;
    out = value;
    return true;
}

std::optional<double> ParseRealText(std::string_view text, char decimalSeparator) {
    double value = 0.0;
    if (!ParseRealText(text, decimalSeparator, value)) return std::nullopt;
    return value;
}

std::optional<double> ParseRealPointOrComma(std::string_view text) {
    if (auto value = ParseRealText(text, '.')) return value;
    return ParseRealText(text, ',');
}

std::string WithRegionalSeparator(std::string_view text, char decimalSeparator) {
    std::string out(text);
    for (const char written : {'.', ','}) {
        if (!ParseRealText(text, written)) continue;
        std::replace(out.begin(), out.end(), written, decimalSeparator);
        return out;
    }
    return out;
}

std::string WithDecimalSeparator(std::string text, char decimalSeparator) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == '.' && digit(text[i - 1]) && digit(text[i + 1])) text[i] = decimalSeparator;
    return text;
}

}  // namespace fw
