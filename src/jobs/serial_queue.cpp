#include "jobs/serial_queue.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace fw::jobs {

struct SerialQueue::Shared {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::deque<Task> tasks;
    bool closed = false;  // the owner is gone: end once the queue is empty

    void run(const std::stop_token& stop) {
        for (;;) {
            Task task;
            {
                std::unique_lock lock(mutex);
                // A stop of the registry ends the wait too; the tasks queued still run first.
                wake.wait(lock, stop, [this] { return closed || !tasks.empty(); });
                if (tasks.empty()) return;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task(stop);
        }
    }
};

SerialQueue::SerialQueue(Registry& registry) : shared_(std::make_shared<Shared>()) {
    registry.start([shared = shared_](std::stop_token stop) { shared->run(stop); });
}

SerialQueue::~SerialQueue() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->closed = true;
    }
    shared_->wake.notify_one();
}

void SerialQueue::post(Task task) {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->tasks.push_back(std::move(task));
    }
    shared_->wake.notify_one();
}

}  // namespace fw::jobs
