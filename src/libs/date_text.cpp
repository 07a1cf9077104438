#include "libs/date_text.h"

#include <cstdio>
#include <ctime>

namespace fw {

LocalTime CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

std::string YymmddText(const LocalTime& t) {
    const std::string eight = std::to_string(t.year * 10000 + t.month * 100 + t.day);
    return eight.size() > 2 ? eight.substr(2) : eight;
}

std::string DateTimeText(const LocalTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return buf;
}

}  // namespace fw
