#pragma once
// Writing to a station log that another program holds locked for a while.
#include <chrono>
#include <functional>
#include <stop_token>
#include <string>

#include "monitor/monitor_clock.h"
#include "stationlog/station_log.h"

namespace fw {

// The waits between two tries of a write that found the log busy: doubled after each try.
inline constexpr std::chrono::seconds FirstBusyWait{1};
inline constexpr std::chrono::seconds LongestBusyWait{60};

// Runs `write` until it goes through: while it throws LogBusyError, waits on `clock` and
// tries again, with a growing wait. `onBusy` is told the reason once, at the first busy try.
// A stop during a wait ends the tries with LogError saying what was `lost` ("the reading of
// 80m was not logged"); any
// other failure of the write propagates at once. True when the log was busy on the way.
bool WriteThroughBusy(const std::function<void()>& write, const std::string& lost,
                      MonitorClock& clock, const std::stop_token& stop,
                      const std::function<void(const std::string&)>& onBusy);

// Opens the log for writing (creating it and its folder where missing) as WriteThroughBusy
// writes: a log another program holds locked, in WAL or rollback-journal mode, is waited for,
// `onBusy` told once why. Throws LogError when it cannot be used, or a stop ended the wait.
StationLog OpenLogThroughBusy(const std::string& path, MonitorClock& clock,
                              const std::stop_token& stop,
                              const std::function<void(const std::string&)>& onBusy);

}  // namespace fw
