#pragma once
// The end of the way out after a stop. Work that is asked to stop ends its waits at once but
// may still put the rig back; this token ends that too, a short grace after the stop (at once
// on a second request), so that a stop ends within a second whatever the rig does. A session
// opened with it cuts a rig call still in progress then.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace fw::rig {

// Long enough to put a rig that answers back, short enough to end a stop within a second.
inline constexpr std::chrono::milliseconds StopGracePeriod{500};

class StopGrace {
  public:
    // `hurry`: a second stop request, which ends the grace at once.
    explicit StopGrace(std::stop_token stop, std::stop_token hurry = {},
                       std::chrono::milliseconds grace = StopGracePeriod);
    StopGrace(const StopGrace&) = delete;
    StopGrace& operator=(const StopGrace&) = delete;

    // Requested `grace` after `stop`, or at `hurry`.
    std::stop_token token() const { return over_.get_token(); }

  private:
    using Callback = std::stop_callback<std::function<void()>>;

    std::stop_source over_;
    std::stop_token stop_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::jthread timer_;
    // Destroyed first, so that neither runs while the timer ends.
    std::optional<Callback> onStop_;
    std::optional<Callback> onHurry_;
};

}  // namespace fw::rig
