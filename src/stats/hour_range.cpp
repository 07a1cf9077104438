#include "stats/hour_range.h"

#include <cstdio>


namespace fw {

namespace {

std::optional<int> HourOf(std::string_view text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int hour = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        hour = hour * 10 + (c - '0');
    }
    if (hour > 23) return std::nullopt;
    return hour;
}

}  // namespace

std::optional<HourRange> ParseHourRange(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto first = HourOf(text.substr(0, dash));
    const auto last = HourOf(text.substr(dash + 1));
    if (!first || !last) return std::nullopt;
    return HourRange{*first, *last};
}

std::string HourRangeText(const HourRange& hours) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d-%02d UTC", hours.first, hours.last);
    return buf;
}

}  // namespace fw
