#pragma once
#include <chrono>
#include <optional>
#include <string_view>

namespace fw {

// A duration as the monitor takes it: whole numbers each followed by a unit, "s", "m", "h"
// or "d", largest first ("90m", "1h30m", "7d", "3600s"); a bare number means seconds.
// None for any other text, for zero and for more than 100 years.
std::optional<std::chrono::seconds> ParseDurationText(std::string_view text);

}  // namespace fw
