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

bool ParseRealText(std::string_view text, char decimalSeparator, double& out) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end && IsBlank(*p)) ++p;
    while (end != p && IsBlank(end[-1])) --end;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const std::string_view t(p, static_cast<std::size_t>(end - p));

    // Validate the grammar (the conversion below would accept more, such as inf and nan)
    // and gather the digits; with at most 19 of them the integer is exact.
    std::uint64_t significand = 0;
    const char* const intBegin = p;
    for (; p != end && IsDigit(*p); ++p) significand = significand * 10 + (*p - '0');
    const std::size_t intDigits = static_cast<std::size_t>(p - intBegin);
    std::size_t fracDigits = 0;
    if (p != end && *p == decimalSeparator) {
        const char* const fracBegin = ++p;
        for (; p != end && IsDigit(*p); ++p) significand = significand * 10 + (*p - '0');
        fracDigits = static_cast<std::size_t>(p - fracBegin);
    }
    if (intDigits + fracDigits == 0) return false;
    const std::string_view mantissa(t.data(), static_cast<std::size_t>(p - t.data()));
    std::string_view exponent;
    long long exp = 0;
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* const expBegin = ++p;
        bool expNegative = false;
        if (p != end && (*p == '+' || *p == '-')) expNegative = *p++ == '-';
        const char* const expDigits = p;
        for (; p != end && IsDigit(*p); ++p) exp = std::min(exp * 10 + (*p - '0'), 999999LL);
        if (p == expDigits) return false;
        if (expNegative) exp = -exp;
        exponent = std::string_view(expBegin, static_cast<std::size_t>(p - expBegin));
    }
    if (p != end) return false;

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
        return true;
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
        if (OrderOfMagnitude(mantissa, exponent, decimalSeparator) > 0) return false;
        value = 0.0;
    } else if (ec != std::errc() || ptr != buf + t.size()) {
        return false;
    }
    out = negative ? -value : value;
    return true;
}

std::optional<double> ParseRealText(std::string_view text, char decimalSeparator) {
    double value = 0.0;
    if (!ParseRealText(text, decimalSeparator, value)) return std::nullopt;
    return value;
}

}  // namespace fw
