#pragma once
// Device or disk work on a worker thread of its own, reported back on the thread that owns the
// job: the common part of the rig's and the SDR's jobs and of the campaign report. Cancel asks
// the worker to stop.
#include <QObject>
#include <QString>
#include <functional>
#include <stop_token>
#include <thread>

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
    // Asks a running job to stop and waits for its thread; no report runs afterwards.
    ~WorkerJob() override;

    bool busy() const { return busy_; }
    void cancel();
    bool cancelling() const { return busy_ && stop_.stop_requested(); }

    // Runs `work` on a new thread; refused (false) while busy. What it returns runs on this
    // object's thread at its end, when busy() is false again.
    bool launch(std::function<std::function<void()>(std::stop_token)> work);

  protected:
    // Runs `call` on this object's thread, unless this object is gone by then.
    void post(std::function<void()> call);

  private:
    bool busy_ = false;
    std::stop_source stop_;
    std::jthread thread_;  // last member: joined before the others go
};

}  // namespace fw
