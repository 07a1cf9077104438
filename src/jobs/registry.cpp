#include "jobs/registry.h"

#include <vector>

namespace fw::jobs {

Registry::~Registry() {
    std::unique_lock lock(mutex_);
    for (Entry& entry : entries_) entry.thread.request_stop();
    ended_.wait(lock, [this] {
        for (const Entry& entry : entries_)
            if (!entry.over) return false;
        return true;
    });
    reap(lock);
}

Registry& Registry::Process() {
    static auto* registry = new Registry;
    return *registry;
}

std::stop_source Registry::start(std::function<void(std::stop_token)> work) {
    std::unique_lock lock(mutex_);
    reap(lock);
    Entry& entry = entries_.emplace_back();
    // The entry stays where it is until it is reaped, and only under the lock.
    entry.thread = std::jthread([this, &entry, work = std::move(work)](std::stop_token stop) {
        work(stop);
        const std::lock_guard done(mutex_);
        entry.over = true;
        ended_.notify_all();
    });
    return entry.thread.get_stop_source();
}

bool Registry::stopAndDrain(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    for (Entry& entry : entries_) entry.thread.request_stop();
    const bool drained = ended_.wait_for(lock, limit, [this] {
        for (const Entry& entry : entries_)
            if (!entry.over) return false;
        return true;
    });
    reap(lock);
    return drained;
}

std::size_t Registry::running() const {
    const std::lock_guard lock(mutex_);
    std::size_t count = 0;
    for (const Entry& entry : entries_) count += entry.over ? 0 : 1;
    return count;
}

void Registry::reap(std::unique_lock<std::mutex>& lock) {
    std::vector<std::jthread> over;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!it->over) {
            ++it;
            continue;
        }
        over.push_back(std::move(it->thread));
        it = entries_.erase(it);
    }
    // Joined outside the lock: a thread that set `over` may still be releasing it.
    lock.unlock();
    for (std::jthread& thread : over) thread.join();
    lock.lock();
}

}  // namespace fw::jobs
