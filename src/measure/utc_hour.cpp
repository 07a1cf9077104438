#include "measure/utc_hour.h"

#include <ctime>
#include <string>

#include "libs/calendar.h"

namespace fw {

namespace {

constexpr std::string_view Form = "YYYY-MM-DD HH:MM";

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
    const auto year = FixedDigits(s, 0, 4), month = FixedDigits(s, 5, 2),
               day = FixedDigits(s, 8, 2), hour = FixedDigits(s, 11, 2),
               minute = FixedDigits(s, 14, 2);
    if (!year || !month || !day || !hour || !minute) return formFailure();
    if (!IsCalendarDate(*year, *month, *day) || *hour > 23 || *minute > 59)
        return Outcome<UtcHour>::Fail(quoted + " is no valid date and time.");

    std::tm local{};
    local.tm_year = *year - 1900;
    local.tm_mon = *month - 1;
    local.tm_mday = *day;
    local.tm_hour = *hour;
    local.tm_min = *minute;
    local.tm_isdst = -1;  // the zone's rule decides whether summer time applies
    tzset();
    const std::time_t t = std::mktime(&local);
    std::tm utc{};
    if (t == static_cast<std::time_t>(-1) || gmtime_r(&t, &utc) == nullptr)
        return Outcome<UtcHour>::Fail(quoted + " cannot be converted to UTC.");
    return Outcome<UtcHour>::Ok({utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour});
}

}  // namespace fw
