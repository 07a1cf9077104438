#pragma once
// The monitor's texts for people, shared by floorwatch-cli and the monitor window.
#include <chrono>
#include <string>
#include <string_view>

#include "monitor/monitor.h"

namespace fw {

// "1 reading", "0 readings", "2 gaps": the count and the noun, plural unless it is 1.
std::string CountText(int count, std::string_view noun);

// "12:30:00Z": the time of day in UTC.
std::string UtcClockText(UtcSeconds t);

// "sweep 3: 12 bands, 1 gap, next at 12:30:00Z" (without the next part when no further
// sweep is due): the bands read and the gaps logged.
std::string SweepLineText(const SweepReport& sweep);

// "sweep 3 took 700 s, longer than the interval of 600 s; the next one starts at once" (the
// last part only where a next one is due).
std::string LateSweepText(const SweepReport& sweep, std::chrono::seconds interval);

// "3 sweeps, 36 readings, 3 gaps from 2026-03-01T00:00:00Z to 2026-03-01T00:20:30Z": the
// run's counts and span.
std::string MonitorSummaryText(const MonitorStatus& status);

}  // namespace fw
