#pragma once
// Work that must keep its order, off the caller's thread: tasks run one after another, in the
// order they were posted, on one thread of the process's registry.
#include <functional>
#include <memory>
#include <stop_token>

#include "jobs/registry.h"

namespace fw::jobs {

class SerialQueue {
  public:
    using Task = std::function<void(std::stop_token)>;

    explicit SerialQueue(Registry& registry = Registry::Process());
    // Does not wait: the tasks still queued run to their end on the queue's thread, which the
    // registry then joins. Nothing posted is dropped; a stop of the registry reaches each task
    // through its token.
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void post(Task task);

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace fw::jobs
