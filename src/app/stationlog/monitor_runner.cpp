#include "app/stationlog/monitor_runner.h"

#include <QMetaObject>

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

MonitorRunner::~MonitorRunner() {
    // Stopped and joined before the members go; the reports the worker queued meanwhile are
    // dropped with this object, unread.
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
}

bool MonitorRunner::start(MonitorJob job) {
    if (running_) return false;
    if (worker_.joinable()) worker_.join();  // the last run has ended; its thread is done
    running_ = true;
    if (job.sdr)
        job.noise = [this](const sdr::NoiseReading& reading) {
            QMetaObject::invokeMethod(
                this, [this, reading] { emit noiseMeasured(reading); }, Qt::QueuedConnection);
        };
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
