#include "app/window/worker_job.h"

#include <QMetaObject>
#include <QProgressDialog>

#include "app/window/screen_fit.h"

namespace fw {

QProgressDialog* ShowJobProgress(WorkerJob& job, const QString& text, const QString& title,
                                 int count, QWidget* parent, std::function<void()> cancelled) {
    auto* progress = new QProgressDialog(text, QStringLiteral("Cancel"), 0, count, parent);
    progress->setWindowTitle(title);
    // Room for a progress text such as "Sweeping 160m: 1.850 MHz LSB…" on one line.
    KeepTitleWhole(*progress, progress->fontMetrics().averageCharWidth() * 40);
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setMinimumDuration(0);
    QObject::connect(progress, &QProgressDialog::canceled, &job,
                     [&job, cancelled = std::move(cancelled)] {
                         job.cancel();
                         if (cancelled) cancelled();
                     });
    progress->show();
    return progress;
}

WorkerJob::WorkerJob(QObject* parent) : QObject(parent) {}

WorkerJob::~WorkerJob() {
    stop_.request_stop();
    if (thread_.joinable()) thread_.join();
}

void WorkerJob::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

bool WorkerJob::launch(std::function<std::function<void()>(std::stop_token)> work) {
    if (busy_) return false;
    if (thread_.joinable()) thread_.join();  // ended already: it posted its report
    busy_ = true;
    stop_ = std::stop_source();
    thread_ = std::jthread([this, work = std::move(work), stop = stop_.get_token()] {
        std::function<void()> report = work(stop);
        post([this, report = std::move(report)] {
            busy_ = false;
            if (report) report();
        });
    });
    return true;
}

void WorkerJob::cancel() {
    stop_.request_stop();
}

}  // namespace fw
