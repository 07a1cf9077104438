#pragma once
// The monitor's notion of time, injectable so that tests never sleep.
#include <chrono>
#include <stop_token>

#include "stationlog/log_reading.h"

namespace fw {

class MonitorClock {
  public:
    using TimePoint = std::chrono::system_clock::time_point;

    virtual ~MonitorClock() = default;
    virtual TimePoint now() = 0;
    // Waits until `t`; returns false as soon as a stop is requested, true when `t` came.
    virtual bool waitUntil(TimePoint t, std::stop_token stop) = 0;
};

// The computer's clock; the wait ends at once on a stop request.
class SystemMonitorClock final : public MonitorClock {
  public:
    TimePoint now() override;
    bool waitUntil(TimePoint t, std::stop_token stop) override;
};

// Whole seconds since 1970 of a time point, rounded down.
UtcSeconds UtcSecondsAt(MonitorClock::TimePoint t);
MonitorClock::TimePoint TimePointOf(UtcSeconds t);

}  // namespace fw
