#include "app/jobs/jobs.h"

#include <QMetaObject>

namespace fw::jobs {

bool Inbox::post(std::function<void()> call) {
    const std::lock_guard lock(mutex_);
    if (!receiver_) return false;
    // Still queued when the receiver goes, the call goes with it unrun.
    QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
    return true;
}

void Inbox::close() {
    const std::lock_guard lock(mutex_);
    receiver_ = nullptr;
}

Jobs::Jobs(Registry& registry)
    : registry_(registry), inbox_(std::make_shared<Inbox>(receiver_)) {}

Jobs::~Jobs() {
    stop();
    inbox_->close();
}

void Jobs::stop() {
    for (auto& [id, source] : stops_) source.request_stop();
}

bool Jobs::stopping() const {
    for (const auto& [id, source] : stops_)
        if (source.stop_requested()) return true;
    return false;
}

void Jobs::launch(std::function<std::function<void()>(std::stop_token)> work) {
    const int id = ++lastId_;
    // The call that hands the value back runs here, while this object lives; the worker
    // only queues it.
    stops_[id] = registry_.start([this, id, inbox = inbox_, work = std::move(work)](
                                     std::stop_token stop) {
        std::function<void()> done = work(std::move(stop));
        inbox->post([this, id, done = std::move(done)]() mutable {
            stops_.erase(id);
            done();
        });
    });
}

}  // namespace fw::jobs
