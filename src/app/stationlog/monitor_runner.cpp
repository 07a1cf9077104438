#include "app/stationlog/monitor_runner.h"

#include "monitor/monitor_clock.h"

namespace fw {

namespace {

// The run itself, on the worker thread; the error text for the user, or empty.
std::string RunJob(const MonitorJob& job, std::stop_token stop,
                   const std::function<void(const MonitorStatus&)>& report) {
    SystemMonitorClock clock;
    MonitorCallbacks callbacks;
    callbacks.status = report;
    return RunMonitorJob(job, clock, std::move(stop), callbacks).reason();
}

}  // namespace

bool MonitorRunner::start(MonitorJob job) {
    if (job_.busy()) return false;
    if (job.sdr)
        job.noise = job_.channel(std::function<void(receiver::Reading)>(
            [this](const receiver::Reading& reading) { emit noiseMeasured(reading); }));
    const auto report = job_.channel(std::function<void(MonitorStatus)>(
        [this](const MonitorStatus& status) { emit statusChanged(status); }));
    return job_.start(
        [job = std::move(job), report](std::stop_token stop) {
            try {
                return RunJob(job, stop, report);
            } catch (const std::exception& e) {
                return std::string(e.what());
            }
        },
        [this](const std::string& error) { emit finished(QString::fromStdString(error)); });
}

void MonitorRunner::stop() {
    job_.stop();
}

}  // namespace fw
