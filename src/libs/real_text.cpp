#include "real_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
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

    // Validate the grammar (the conversion below would accept more, such as inf and nan)
    // and gather the digits; with at most 19 of them the integer is exact.
    std::uint64_t significand = 0;
    for (; p != last && IsDigit(*p); ++p) significand = significand * 10 + (*p - '0');
    const std::size_t intDigits = static_cast<std::size_t>(p - numberBegin);
    std::size_t fracDigits = 0;
    if (p != last && *p == decimalSeparator) {
        const char* const fracBegin = ++p;
        for (; p != last && IsDigit(*p); ++p) significand = significand * 10 + (*p - '0');
        fracDigits = static_cast<std::size_t>(p - fracBegin);
    }
    if (intDigits + fracDigits == 0) return nullptr;
    const std::string_view mantissa(numberBegin, static_cast<std::size_t>(p - numberBegin));
    std::string_view exponent;
    long long exp = 0;
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* const expBegin = ++p;
        bool expNegative = false;
        if (p != last && (*p == '+' || *p == '-')) expNegative = *p++ == '-';
        const char* const expDigits = p;
        for (; p != last && IsDigit(*p); ++p) exp = std::min(exp * 10 + (*p - '0'), 999999LL);
        if (p == expDigits) return nullptr;
        if (expNegative) exp = -exp;
        exponent = std::string_view(expBegin, static_cast<std::size_t>(p - expBegin));
    }
    const std::string_view t(numberBegin, static_cast<std::size_t>(p - numberBegin));
    while (p != last && IsBlank(*p)) ++p;

    // An integer below 2^53 and a power of ten up to 10^22 are both exact doubles, so one
    // multiplication or division rounds correctly.
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const long long power = exp - static_cast<long long>(fracDigits);
    const bool exactSignificand =
        intDigits + fracDigits <= 19 && significand <= (std::uint64_t{1} << 53);
    if (exactSignificand && (significand == 0 || (power >= -22 && power <= 22))) {
        double value = static_cast<double>(significand);
        if (significand == 0)
            ;  // zero with any exponent
        else if (power < 0)
            value /= powers[-power];
        else
            value *= powers[power];
        out = negative ? -value : value;
        return p;
    }

    // The conversion wants a point and no leading sign; short texts are copied to the stack.
    char small[64];
    std::string large;
    char* buf = small;
    if (t.size() > sizeof small) {
        large.resize(t.size());
        buf = large.data();
    }
    for (std::size_t k = 0; k < t.size(); ++k) buf[k] = t[k] == decimalSeparator ? '.' : t[k];

    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(buf, buf + t.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (OrderOfMagnitude(mantissa, exponent, decimalSeparator) > 0) return nullptr;
        value = 0.0;
    } else if (ec != std::errc() || ptr != buf + t.size()) {
        return nullptr;
    }
    out = negative ? -value : value;
    return p;
}

bool ParseRealText(std::string_view text, char decimalSeparator, double& out) {
    const char* const last = text.data() + text.size();
    double value = 0.0;
    if (ParseRealPrefix(text.data(), last, decimalSeparator, value) != last) return false;
    out = value;
    return true;
}

std::optional<double> ParseRealText(std::string_view text, char decimalSeparator) {
    double value = 0.0;
    if (!ParseRealText(text, decimalSeparator, value)) return std::nullopt;
    return value;
}

}  // namespace fw
