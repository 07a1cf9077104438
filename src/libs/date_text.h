#pragma once
#include <string>

namespace fw {

// A local calendar time, as the clock or a test gives it.
struct LocalTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
};

// The current local time of the machine.
LocalTime CurrentLocalTime();

// Six digits YYMMDD: the eight-digit date year*10000+month*100+day with its first two
// characters dropped (so 1 January 2100 gives "000101").
std::string YymmddText(const LocalTime& t);

// "YYYY-MM-DD HH:MM": the year as a plain number, the rest with two digits.
std::string DateTimeText(const LocalTime& t);

}  // namespace fw
