#include "monitor/monitor_text.h"

#include <cstdio>

#include "stationlog/utc_text.h"

namespace fw {

std::string CountText(int count, std::string_view noun) {
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

std::string UtcClockText(UtcSeconds t) {
    const UtcFields f = UtcFieldsOf(t);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02dZ", f.hour, f.minute, f.second);
    return text;
}

std::string SweepLineText(const SweepReport& sweep) {
    std::string line = "sweep " + std::to_string(sweep.number) + ": " +
                       CountText(sweep.readings, "band") + ", " + CountText(sweep.gaps, "gap");
    if (sweep.next) line += ", next at " + UtcClockText(*sweep.next);
    return line;
}

std::string LateSweepText(const SweepReport& sweep, std::chrono::seconds interval) {
    // In tenths of a second, rounded up: a sweep 0.3 s late does not read as "took 6 s,
    // longer than the interval of 6 s".
    const long long tenths = (sweep.took.count() + 99) / 100;
    std::string took = std::to_string(tenths / 10);
    if (tenths % 10 != 0) took += "." + std::to_string(tenths % 10);
    std::string text = "sweep " + std::to_string(sweep.number) + " took " + took +
                       " s, longer than the interval of " + std::to_string(interval.count()) +
                       " s";
    return sweep.next ? text + "; the next one starts at once" : text;
}

std::string MonitorSummaryText(const MonitorStatus& status) {
    std::string text = CountText(status.sweepsStarted, "sweep") + ", " +
                       CountText(status.readingsLogged, "reading") + ", " +
                       CountText(status.gapsLogged, "gap") + " from " +
                       UtcStampText(status.startedAt);
    if (status.endedAt) text += " to " + UtcStampText(*status.endedAt);
    return text;
}

}  // namespace fw
