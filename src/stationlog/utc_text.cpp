#include "stationlog/utc_text.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "libs/calendar.h"
#include "libs/local_time.h"

namespace fw {

namespace {

using namespace std::chrono;

constexpr std::int64_t SecondsPerDay = 86400;

// The calendar's own range of years; times beyond it are taken at its ends.
constexpr UtcSeconds FirstCalendarUtc =
    sys_seconds(sys_days(year::min() / January / 1)).time_since_epoch().count();
constexpr UtcSeconds LastCalendarUtc =
    sys_seconds(sys_days(year::max() / December / 31)).time_since_epoch().count() +
    SecondsPerDay - 1;

void AppendDigits(std::string& out, int value, int width) {
    char buf[8];
    for (int i = width - 1; i >= 0; --i) {
        buf[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(buf, static_cast<std::size_t>(width));
}

}  // namespace

bool IsLogTime(UtcSeconds t) {
    return t >= FirstLogUtc && t <= LastLogUtc;
}

UtcFields UtcFieldsOf(UtcSeconds t) {
    const sys_seconds at{seconds(std::clamp(t, FirstCalendarUtc, LastCalendarUtc))};
    const sys_days day = floor<days>(at);
    const year_month_day date(day);
    const hh_mm_ss time(at - day);
    return UtcFields{static_cast<int>(date.year()),
                     static_cast<int>(static_cast<unsigned>(date.month())),
                     static_cast<int>(static_cast<unsigned>(date.day())),
                     static_cast<int>(time.hours().count()),
                     static_cast<int>(time.minutes().count()),
                     static_cast<int>(time.seconds().count())};
}

UtcSeconds UtcSecondsOf(const UtcFields& f) {
    // A day past the month's end counts on into the next month, as the calendar does.
    const year_month_day date = year(f.year) / month(static_cast<unsigned>(f.month)) / 1;
    return sys_seconds(sys_days(date) + days(f.day - 1) + hours(f.hour) + minutes(f.minute) +
                       seconds(f.second))
        .time_since_epoch()
        .count();
}

void AppendUtcStamp(std::string& out, UtcSeconds t) {
    const UtcFields f = UtcFieldsOf(t);
    if (f.year < 0 || f.year > 9999) {  // outside the four-digit form: the plain year
        out += std::to_string(f.year);
    } else {
        AppendDigits(out, f.year, 4);
    }
    out += '-';
    AppendDigits(out, f.month, 2);
    out += '-';
    AppendDigits(out, f.day, 2);
    out += 'T';
    AppendDigits(out, f.hour, 2);
    out += ':';
    AppendDigits(out, f.minute, 2);
    out += ':';
    AppendDigits(out, f.second, 2);
    out += 'Z';
}

std::string UtcStampText(UtcSeconds t) {
    std::string s;
    AppendUtcStamp(s, t);
    return s;
}

std::string UtcSpanText(UtcSeconds from, UtcSeconds to) {
    // "YYYY-MM-DDTHH:MM:SSZ" as "YYYY-MM-DD HH:MM".
    const auto minute = [](UtcSeconds t) {
        const std::string s = UtcStampText(t);
        return s.substr(0, s.size() - 10) + " " + s.substr(s.size() - 9, 5);
    };
    return minute(from) + " to " + minute(to) + " UTC";
}

std::optional<UtcSeconds> ParseUtcMinute(std::string_view text) {
    // YYYY-MM-DDTHH:MM
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':')
        return std::nullopt;
    const auto y = FixedDigits(text, 0, 4), mo = FixedDigits(text, 5, 2),
               d = FixedDigits(text, 8, 2), h = FixedDigits(text, 11, 2),
               mi = FixedDigits(text, 14, 2);
    if (!y || !mo || !d || !h || !mi) return std::nullopt;
    if (!IsCalendarDate(*y, *mo, *d) || *h > 23 || *mi > 59) return std::nullopt;
    return UtcSecondsOf(UtcFields{*y, *mo, *d, *h, *mi, 0});
}

std::optional<UtcSeconds> ParseUtcTime(std::string_view text) {
    if (text.size() == 17 && text[16] == 'Z') return ParseUtcMinute(text.substr(0, 16));
    if (text.size() != 20) return ParseUtcMinute(text);
    // YYYY-MM-DDTHH:MM:SSZ
    const auto minute = ParseUtcMinute(text.substr(0, 16));
    const auto second = FixedDigits(text, 17, 2);
    if (!minute || text[16] != ':' || !second || *second > 59 || text[19] != 'Z')
        return std::nullopt;
    return *minute + *second;
}

UtcSeconds UtcNow() {
    return static_cast<UtcSeconds>(std::time(nullptr));
}

int UtcHourOfDay(UtcSeconds t) {
    return static_cast<int>((t % SecondsPerDay + SecondsPerDay) % SecondsPerDay / 3600);
}

LocalTime LocalTimeOf(UtcSeconds t) {
    return LocalTimeAt(t);
}

}  // namespace fw
