#pragma once
// Runs the monitor off the window's thread with its own station log and rig connection, and
// hands its status to the window's thread. Stopping ends the wait at once and finishes the
// reading in hand; destroying the runner stops it without waiting, and drops the reports not
// yet delivered.
#include <QObject>
#include <QString>

#include "app/jobs/jobs.h"
#include "monitor/monitor_job.h"

namespace fw {

class MonitorRunner : public QObject {
    Q_OBJECT

  public:
    explicit MonitorRunner(QObject* parent = nullptr) : QObject(parent) {}

    // Starts a run unless one is running; false when one is.
    bool start(MonitorJob job);
    void stop();
    bool running() const { return job_.busy(); }

  signals:
    void statusChanged(const fw::MonitorStatus& status);
    // With an SDR: each measurement, with its spectrum.
    void noiseMeasured(const fw::receiver::Reading& reading);
    // The run is over; `error` is empty when it completed or was stopped.
    void finished(const QString& error);

  private:
    jobs::Job job_;
};

}  // namespace fw
