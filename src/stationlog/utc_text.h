#pragma once
// UTC times of the station log as texts, independent of the machine's time zone.
#include <optional>
#include <string>
#include <string_view>

#include "libs/date_text.h"
#include "stationlog/log_reading.h"

namespace fw {

struct UtcFields {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The times a reading of the log can have: 1970-01-01T00:00:00Z ... 9999-12-31T23:59:59Z.
// A reading outside them is damaged; it is skipped and counted, never shown as a date.
inline constexpr UtcSeconds FirstLogUtc = 0;
inline constexpr UtcSeconds LastLogUtc = 253402300799;
bool IsLogTime(UtcSeconds t);

// The calendar fields of a time, exact for the years -32767 ... 32767; a time beyond them
// gives the fields of the nearer end. And back, a day past the month's end counting on
// into the next month.
UtcFields UtcFieldsOf(UtcSeconds t);
UtcSeconds UtcSecondsOf(const UtcFields& f);

// "YYYY-MM-DDTHH:MM:SSZ", the time format of the CSV export.
std::string UtcStampText(UtcSeconds t);
void AppendUtcStamp(std::string& out, UtcSeconds t);

// A span [from, to) as "YYYY-MM-DD HH:MM to YYYY-MM-DD HH:MM UTC".
std::string UtcSpanText(UtcSeconds from, UtcSeconds to);

// Reads "YYYY-MM-DDTHH:MM" (as --from and --to take it) as UTC; none for any other text or
// an impossible date or time.
std::optional<UtcSeconds> ParseUtcMinute(std::string_view text);

// Reads every time text the program writes: "YYYY-MM-DDTHH:MM", "YYYY-MM-DDTHH:MMZ" and the
// export's "YYYY-MM-DDTHH:MM:SSZ", as UTC; none for any other text or an impossible date or
// time.
std::optional<UtcSeconds> ParseUtcTime(std::string_view text);

// The computer's clock as UTC seconds.
UtcSeconds UtcNow();

// The hour of the day in UTC, 0..23.
int UtcHourOfDay(UtcSeconds t);

// The local calendar time of a UTC time, in the machine's time zone.
LocalTime LocalTimeOf(UtcSeconds t);

}  // namespace fw
