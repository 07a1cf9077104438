#include "libs/date_text.h"

#include <cstdio>
#include <ctime>

#include "libs/local_time.h"

namespace fw {

LocalTime CurrentLocalTime() {
    return LocalTimeAt(std::time(nullptr));
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
