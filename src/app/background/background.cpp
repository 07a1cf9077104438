#include "app/background/background.h"

#include <QThread>
#include <memory>

namespace fw {

void RunInBackground(QObject& context, std::function<Continuation()> work) {
    auto then = std::make_shared<Continuation>();
    QThread* thread = QThread::create([work = std::move(work), then] { *then = work(); });
    // Emitted on the worker thread: the continuation is queued to the context's thread.
    QObject::connect(thread, &QThread::finished, &context, [then] {
        if (*then) (*then)();
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

}  // namespace fw
