#include "app/window/serial_worker.h"

namespace fw {

SerialWorker::SerialWorker() : thread_([this](std::stop_token stop) { run(stop); }) {}

SerialWorker::~SerialWorker() {
    thread_.request_stop();
    thread_.join();
}

void SerialWorker::post(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void SerialWorker::run(const std::stop_token& stop) {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            // Returns with tasks queued even once a stop is asked for: they are run first.
            if (!wake_.wait(lock, stop, [this] { return !tasks_.empty(); })) return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

}  // namespace fw
