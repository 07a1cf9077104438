#include "measure/utc_hour.h"

#include <ctime>
#include <string>

namespace fw {

namespace {

constexpr std::string_view Form = "YYYY-MM-DD HH:MM";

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The digits of s[at, at + count) as a number, or -1.
int Digits(std::string_view s, std::size_t at, std::size_t count) {
    int v = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

}  // namespace

Outcome<UtcHour> MeasDateTimeToUtc(std::string_view text) {
    const std::string_view s = TrimBlanks(text);
    const std::string quoted = "The date/time \"" + std::string(text) + "\"";
    const auto formFailure = [&] {
        return Outcome<UtcHour>::Fail(quoted + " is not in the form " + std::string(Form) + ".");
    };
    if (s.size() != Form.size()) return formFailure();
    for (std::size_t i = 0; i < Form.size(); ++i)
        if (Form[i] != 'Y' && Form[i] != 'M' && Form[i] != 'D' && Form[i] != 'H' && s[i] != Form[i])
            return formFailure();
    const int year = Digits(s, 0, 4), month = Digits(s, 5, 2), day = Digits(s, 8, 2);
    const int hour = Digits(s, 11, 2), minute = Digits(s, 14, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0) return formFailure();
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59)
        return Outcome<UtcHour>::Fail(quoted + " is no valid date and time.");

    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;  // the zone's rule decides whether summer time applies
    tzset();
    const std::time_t t = std::mktime(&local);
    std::tm utc{};
    if (t == static_cast<std::time_t>(-1) || gmtime_r(&t, &utc) == nullptr)
        return Outcome<UtcHour>::Fail(quoted + " cannot be converted to UTC.");
    return Outcome<UtcHour>::Ok({utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour});
}

}  // namespace fw
