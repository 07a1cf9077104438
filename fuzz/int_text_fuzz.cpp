// Feeds arbitrary text to the integer parser and checks it against a reference built on
// strtoll: the same texts accepted, the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "libs/int_text.h"

namespace {

bool IsDigitOf(char c, int base) {
    if (c >= '0' && c <= '9') return true;
    return base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// The documented grammar read step by step; the value from strtoll on the bare digits.
std::optional<std::int32_t> Reference(std::string_view text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '+' || text[i] == '-') ++i;
    int base = 10;
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        i += 2;
    } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        base = 16;
        i += 1;
    }
    std::string_view digits = text.substr(std::min(i, text.size()));
    if (digits.empty()) return std::nullopt;
    for (const char c : digits)
        if (!IsDigitOf(c, base)) return std::nullopt;
    while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
    if (digits.size() > 12) return std::nullopt;  // far beyond 32 bits in either base
    const long long magnitude = std::strtoll(std::string(digits).c_str(), nullptr, base);
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> value = fw::ParseIntText(text);
    if (value != Reference(text)) std::abort();
    // What is accepted is written back and read again to the same value.
    if (value && fw::ParseIntText(std::to_string(*value)) != value) std::abort();
    return 0;
}
