#pragma once
// Work that must keep its order, off the caller's thread: tasks run one after another, in the
// order they were posted, on one thread of this worker's own.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace fw {

class SerialWorker {
  public:
    SerialWorker();
    // Runs the tasks still queued, then ends the thread: nothing posted is dropped.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void post(std::function<void()> task);

  private:
    void run(const std::stop_token& stop);

    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::deque<std::function<void()>> tasks_;
    std::jthread thread_;  // last member: started after the others, joined before they go
};

}  // namespace fw
