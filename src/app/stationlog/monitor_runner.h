#pragma once
// Runs the monitor on a worker thread with its own station log and rig connection, and
// hands its status to the GUI thread. Stopping ends the wait at once and finishes the
// reading in hand; destroying the runner stops it and waits for the thread, and drops the
// reports not yet delivered.
#include <QObject>
#include <QString>
#include <thread>

#include "monitor/monitor_job.h"

namespace fw {

class MonitorRunner : public QObject {
    Q_OBJECT

  public:
    explicit MonitorRunner(QObject* parent = nullptr) : QObject(parent) {}
    ~MonitorRunner() override;

    // Starts a run unless one is running; false when one is.
    bool start(MonitorJob job);
    void stop();
    bool running() const { return running_; }

  signals:
    void statusChanged(const fw::MonitorStatus& status);
    // With an SDR: each measurement, with its spectrum.
    void noiseMeasured(const fw::sdr::NoiseReading& reading);
    // The run is over; `error` is empty when it completed or was stopped.
    void finished(const QString& error);

  private:
    void finish(const QString& error);

    std::jthread worker_;
    bool running_ = false;  // GUI thread only
};

}  // namespace fw
