#pragma once
// A range of UTC hours of the day, which may wrap past midnight.
#include <optional>
#include <string>
#include <string_view>

namespace fw {

struct HourRange {
    int first = 0;  // 0..23
    int last = 23;  // 0..23; before `first` when the range wraps past midnight

    bool contains(int hour) const {
        return first <= last ? hour >= first && hour <= last : hour >= first || hour <= last;
    }
    bool wholeDay() const { return (last + 1) % 24 == first; }
    bool operator==(const HourRange&) const = default;
};

// "18-23", or "22-03" past midnight: both hours 0..23 in one or two digits. None for any
// other text.
std::optional<HourRange> ParseHourRange(std::string_view text);

// "18-23 UTC", "22-03 UTC" as ParseHourRange reads it back.
std::string HourRangeText(const HourRange& hours);

}  // namespace fw
