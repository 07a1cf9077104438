#include "monitor/busy_log.h"

#include <algorithm>
#include <optional>

#include "stationlog/sqlite_db.h"

namespace fw {

bool WriteThroughBusy(const std::function<void()>& write, const std::string& lost,
                      MonitorClock& clock, const std::stop_token& stop,
                      const std::function<void(const std::string&)>& onBusy) {
    std::chrono::seconds wait = FirstBusyWait;
    for (bool busy = false;; busy = true) {
        try {
            write();
            return busy;
        } catch (const LogBusyError& e) {
            if (!busy && onBusy) onBusy(e.what());
            if (!clock.waitUntil(clock.now() + wait, stop))
                throw LogError(std::string(e.what()) + "; stopped while waiting for it, so " +
                               lost);
            wait = std::min(wait * 2, LongestBusyWait);
        }
    }
}

StationLog OpenLogThroughBusy(const std::string& path, MonitorClock& clock,
                              const std::stop_token& stop,
                              const std::function<void(const std::string&)>& onBusy) {
    std::optional<StationLog> log;
    WriteThroughBusy([&] { log.emplace(StationLog::OpenCreatingFolder(path)); }, "the monitor did not start",
                     clock, stop, onBusy);
    return std::move(*log);
}

}  // namespace fw
