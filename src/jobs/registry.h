#pragma once
// Every thread that runs work off a caller's thread belongs to the process's registry: the
// owner of a piece of work keeps its stop source, the registry keeps its thread. Owners stop
// their work and go on at once; the registry joins each thread once its work is over, and
// main() stops and waits for all of them, for a bounded time, before the program ends.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <stop_token>
#include <thread>

namespace fw::jobs {

class Registry {
  public:
    Registry() = default;
    // Stops and joins what still runs: waits as long as that takes.
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // The registry of this process. It is never destroyed: a thread still caught in a device
    // driver when the program ends is ended with the process, not waited for.
    static Registry& Process();

    // Runs `work` on a new thread; the stop source asks it to stop.
    std::stop_source start(std::function<void(std::stop_token)> work);

    // Asks every piece of work to stop and waits up to `limit` for all to end; true when
    // they all ended, each thread joined.
    bool stopAndDrain(std::chrono::milliseconds limit);

    // The pieces of work not yet over.
    std::size_t running() const;

  private:
    struct Entry {
        bool over = false;
        std::jthread thread;
    };
    // Joins the threads whose work is over; their joins return at once.
    void reap(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable ended_;
    std::list<Entry> entries_;
};

// How long main() waits at the end for work to honour its stop: a device call past it is
// left to end with the process.
inline constexpr std::chrono::milliseconds ExitDrainLimit{3000};

}  // namespace fw::jobs
