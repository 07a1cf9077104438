#pragma once
// Device work of the rig's and the SDR's jobs on the jobs library, reported back on the thread
// that owns the job. Cancel asks the work to stop.
#include <QObject>
#include <QString>
#include <functional>
#include <stop_token>

#include "app/jobs/jobs.h"

class QProgressDialog;
class QWidget;

namespace fw {

class WorkerJob;

// The window-modal progress dialog of a job over `count` steps, shown at once; its Cancel
// cancels the job and then calls `cancelled`.
QProgressDialog* ShowJobProgress(WorkerJob& job, const QString& text, const QString& title,
                                 int count, QWidget* parent, std::function<void()> cancelled);

class WorkerJob : public QObject {
    Q_OBJECT

  public:
    explicit WorkerJob(QObject* parent = nullptr);

    bool busy() const { return job_.busy(); }
    void cancel() { job_.stop(); }
    bool cancelling() const { return job_.stopping(); }

    // Runs `work` off this object's thread; refused (false) while busy. What it returns runs on
    // this object's thread at its end, when busy() is false again. Destroying the job stops
    // the work without waiting for it; what it would report is dropped.
    bool launch(std::function<std::function<void()>(std::stop_token)> work);

  protected:
    // For the work to capture: runs a call on this object's thread while the job lives.
    std::function<void(std::function<void()>)> poster();

  private:
    jobs::Job job_;
};

}  // namespace fw
