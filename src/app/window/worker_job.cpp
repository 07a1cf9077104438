#include "app/window/worker_job.h"

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

std::function<void(std::function<void()>)> WorkerJob::poster() {
    return job_.channel(std::function<void(std::function<void()>)>(
        [](const std::function<void()>& call) {
            if (call) call();
        }));
}

bool WorkerJob::launch(std::function<std::function<void()>(std::stop_token)> work) {
    return job_.start(std::move(work), [](const std::function<void()>& report) {
        if (report) report();
    });
}

}  // namespace fw
