#include "libs/calendar.h"

#include <chrono>

namespace fw {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<int> FixedDigits(std::string_view text, std::size_t at, std::size_t count) {
    if (at > text.size() || count > text.size() - at || count > 9) return std::nullopt;
    int v = 0;
    for (const char c : text.substr(at, count)) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool IsCalendarDate(int year, int month, int day) {
    using namespace std::chrono;
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    return year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                          std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

}  // namespace fw
