#include "stationlog/utc_text.h"

#include <ctime>

namespace fw {

namespace {

constexpr std::int64_t SecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the era-based method: 400
// years are 146097 days).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, UtcFields& f) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    f.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    f.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    f.year = static_cast<int>(yoe + era * 400 + (f.month <= 2));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

void AppendDigits(std::string& out, int value, int width) {
    char buf[8];
    for (int i = width - 1; i >= 0; --i) {
        buf[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(buf, static_cast<std::size_t>(width));
}

// Exactly `width` decimal digits at text[pos].
std::optional<int> Digits(std::string_view text, std::size_t pos, int width) {
    int v = 0;
    for (int i = 0; i < width; ++i) {
        const char c = text[pos + static_cast<std::size_t>(i)];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

UtcFields UtcFieldsOf(UtcSeconds t) {
    UtcFields f;
    const std::int64_t days = FloorDiv(t, SecondsPerDay);
    const std::int64_t secs = t - days * SecondsPerDay;
    CivilFromDays(days, f);
    f.hour = static_cast<int>(secs / 3600);
    f.minute = static_cast<int>(secs / 60 % 60);
    f.second = static_cast<int>(secs % 60);
    return f;
}

UtcSeconds UtcSecondsOf(const UtcFields& f) {
    return DaysFromCivil(f.year, f.month, f.day) * SecondsPerDay + f.hour * 3600 + f.minute * 60 +
           f.second;
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

std::optional<UtcSeconds> ParseUtcMinute(std::string_view text) {
    // YYYY-MM-DDTHH:MM
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':')
        return std::nullopt;
    const auto y = Digits(text, 0, 4), mo = Digits(text, 5, 2), d = Digits(text, 8, 2),
               h = Digits(text, 11, 2), mi = Digits(text, 14, 2);
    if (!y || !mo || !d || !h || !mi) return std::nullopt;
    if (*mo < 1 || *mo > 12 || *d < 1 || *d > DaysInMonth(*y, *mo) || *h > 23 || *mi > 59)
        return std::nullopt;
    return UtcSecondsOf(UtcFields{*y, *mo, *d, *h, *mi, 0});
}

UtcSeconds UtcNow() {
    return static_cast<UtcSeconds>(std::time(nullptr));
}

int UtcHourOfDay(UtcSeconds t) {
    return static_cast<int>((t - FloorDiv(t, SecondsPerDay) * SecondsPerDay) / 3600);
}

LocalTime LocalTimeOf(UtcSeconds t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    localtime_r(&tt, &tm);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

}  // namespace fw
