#include "real_text.h"

#include <charconv>
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

std::optional<double> ParseRealText(std::string_view text, char decimalSeparator) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    std::string_view t = text.substr(begin, end - begin);

    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }

    // Validate the grammar first; the conversion below would accept more (inf, nan).
    std::size_t i = 0;
    int digits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
    if (i < t.size() && t[i] == decimalSeparator) {
        ++i;
        while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    const std::string_view mantissa = t.substr(0, i);
    std::string_view exponent;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        const std::size_t expBegin = ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        const std::size_t expDigits = i;
        while (i < t.size() && IsDigit(t[i])) ++i;
        if (i == expDigits) return std::nullopt;
        exponent = t.substr(expBegin, i - expBegin);
    }
    if (i != t.size()) return std::nullopt;

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
        if (OrderOfMagnitude(mantissa, exponent, decimalSeparator) > 0) return std::nullopt;
        value = 0.0;
    } else if (ec != std::errc() || ptr != buf + t.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace fw
