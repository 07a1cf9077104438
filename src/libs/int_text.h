#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace fw {

// Parses an integer text the way the platform's integer parser does:
// optional leading blanks, an optional sign, then decimal digits running to the
// end of the text, or hexadecimal digits after "$", "x", "X", "0x" or "0X".
// The value must lie within the signed 32-bit range. Anything else (empty text,
// trailing blank, decimal separator, letters, overflow) gives no value.
std::optional<std::int32_t> ParseIntText(std::string_view text);

}  // namespace fw
