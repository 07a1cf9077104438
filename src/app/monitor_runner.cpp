#include "app/monitor_runner.h"

#include <QMetaObject>

#include "monitor/monitor_clock.h"
#include "monitor/rig_sweeper.h"

namespace fw {

namespace {

// The run itself, on the worker thread; the error text for the user, or empty.
std::string RunJob(const MonitorJob& job, std::stop_token stop,
                   const std::function<void(const MonitorStatus&)>& report) {
    RigSweeper sweeper(job.connection, job.plan, job.sep);
    // A rig that cannot be reached at the start is more likely a wrong address than an
    // outage: refused before the log is touched, rather than logged as gaps all night.
    if (std::string error = sweeper.connect(); !error.empty()) return error;
    try {
        StationLog log = StationLog::OpenCreatingFolder(job.logPath);
        SystemMonitorClock clock;
        MonitorCallbacks callbacks;
        callbacks.status = report;
        RunMonitor(log, sweeper, clock, job.settings, stop, callbacks);
    } catch (const LogError& e) {
        return e.what();
    }
    return {};
}

}  // namespace

MonitorRunner::~MonitorRunner() {
    // Joined here, while this object can still take the worker's last queued reports.
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
}

bool MonitorRunner::start(MonitorJob job) {
    if (running_) return false;
    if (worker_.joinable()) worker_.join();  // the last run has ended; its thread is done
    running_ = true;
    worker_ = std::jthread([this, job = std::move(job)](std::stop_token stop) {
        const auto report = [this](const MonitorStatus& status) {
            QMetaObject::invokeMethod(
                this, [this, status] { emit statusChanged(status); }, Qt::QueuedConnection);
        };
        std::string error;
        try {
            error = RunJob(job, stop, report);
        } catch (const std::exception& e) {
            error = e.what();
        }
        QMetaObject::invokeMethod(
            this, [this, error] { finish(QString::fromStdString(error)); }, Qt::QueuedConnection);
    });
    return true;
}

void MonitorRunner::stop() {
    worker_.request_stop();
}

void MonitorRunner::finish(const QString& error) {
    running_ = false;
    emit finished(error);
}

}  // namespace fw
