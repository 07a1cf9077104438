#include "rig/stop_grace.h"

namespace fw::rig {

StopGrace::StopGrace(std::stop_token stop, std::stop_token hurry, std::chrono::milliseconds grace)
    : stop_(std::move(stop)) {
    timer_ = std::jthread([this, grace](std::stop_token end) {
        std::unique_lock lock(mutex_);
        if (!wake_.wait(lock, end, [this] { return stop_.stop_requested(); })) return;
        wake_.wait_for(lock, end, grace, [] { return false; });
        over_.request_stop();
    });
    onStop_.emplace(stop_, [this] {
        const std::lock_guard lock(mutex_);
        wake_.notify_all();
    });
    onHurry_.emplace(std::move(hurry), [this] { over_.request_stop(); });
}

}  // namespace fw::rig
