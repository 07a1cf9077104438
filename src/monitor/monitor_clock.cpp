#include "monitor/monitor_clock.h"

#include <condition_variable>
#include <mutex>

namespace fw {

MonitorClock::TimePoint SystemMonitorClock::now() {
    return std::chrono::system_clock::now();
}

bool SystemMonitorClock::waitUntil(TimePoint t, std::stop_token stop) {
    std::mutex m;
    std::condition_variable_any woken;
    std::unique_lock lock(m);
    // Nothing notifies but the stop request, so the predicate is the stop itself.
    woken.wait_until(lock, stop, t, [] { return false; });
    return !stop.stop_requested();
}

UtcSeconds UtcSecondsAt(MonitorClock::TimePoint t) {
    return std::chrono::floor<std::chrono::seconds>(t.time_since_epoch()).count();
}

MonitorClock::TimePoint TimePointOf(UtcSeconds t) {
    return MonitorClock::TimePoint(std::chrono::seconds(t));
}

}  // namespace fw
