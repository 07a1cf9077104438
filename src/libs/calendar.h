#pragma once
// The pieces that every parser of a date or time text shares: blanks around the text, the
// fixed-width digit fields and whether the date exists.
#include <cstddef>
#include <optional>
#include <string_view>

namespace fw {

// The text without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view s);

// Exactly `count` decimal digits at text[at], as a number; none for anything else or for a
// field that runs past the end of the text.
std::optional<int> FixedDigits(std::string_view text, std::size_t at, std::size_t count);

// Whether the day exists in the Gregorian calendar (29 February only in leap years).
bool IsCalendarDate(int year, int month, int day);

}  // namespace fw
