#pragma once
// Device, disk, network and printer work off the window's thread. A piece of work takes a
// stop token and returns a value; the value comes back by a queued call on the thread that
// owns the Jobs, as long as they live. Work functions capture values, never the window or a
// controller: only the call that takes the value may use its owner.
//
//     jobs::Jobs jobs_;  // a member of the controller, declared after what `done` uses
//     jobs_.run([path](std::stop_token stop) { return CountReadings(path, stop); },
//               [this](Outcome<int> counted) { showCount(counted); });
//
// Destroying the Jobs (or stop()) asks the work to stop and does not wait for it: the
// threads belong to the process's registry (jobs/registry.h), which main() drains.
#include <QObject>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <memory>
#include <stop_token>
#include <type_traits>
#include <utility>

#include "jobs/registry.h"
#include "jobs/serial_queue.h"

namespace fw::jobs {

// Where the values come back: queued calls on the owner's thread, dropped once it is closed.
class Inbox {
  public:
    explicit Inbox(QObject& receiver) : receiver_(&receiver) {}
    // From any thread: runs `call` on the receiver's thread, unless closed by then; false
    // when closed already.
    bool post(std::function<void()> call);
    // On the receiver's thread: nothing posted from now on runs.
    void close();

  private:
    std::mutex mutex_;
    QObject* receiver_;
};

class Jobs {
  public:
    // Values come back on the thread that makes the Jobs.
    explicit Jobs(Registry& registry = Registry::Process());
    // Stops what still runs and drops its values, without waiting for it.
    ~Jobs();
    Jobs(const Jobs&) = delete;
    Jobs& operator=(const Jobs&) = delete;

    // Runs work(stop) on a thread of the registry and then done(value) here; `done` takes
    // nothing when the work returns nothing.
    template <typename Work, typename Done>
    void run(Work work, Done done) {
        using Value = std::invoke_result_t<Work&, std::stop_token>;
        launch([work = std::move(work), done = std::move(done)](
                   std::stop_token stop) mutable -> std::function<void()> {
            if constexpr (std::is_void_v<Value>) {
                work(stop);
                return [done]() mutable { done(); };
            } else {
                auto value = std::make_shared<Value>(work(stop));
                return [done, value]() mutable { done(std::move(*value)); };
            }
        });
    }

    // A function for the work to report with while it runs: each call hands its values to
    // `take` here, on the owner's thread, while the Jobs live.
    template <typename... Args>
    std::function<void(Args...)> channel(std::function<void(Args...)> take) {
        return [inbox = inbox_, take = std::move(take)](Args... values) {
            inbox->post([take, values...] { take(values...); });
        };
    }

    // Asks all running work to stop; each still hands back what it returns.
    void stop();
    // Work started whose value has not come back yet.
    std::size_t running() const { return stops_.size(); }
    // Some running work was asked to stop.
    bool stopping() const;

  private:
    void launch(std::function<std::function<void()>(std::stop_token)> work);

    Registry& registry_;
    QObject receiver_;
    std::shared_ptr<Inbox> inbox_;
    int lastId_ = 0;
    std::map<int, std::stop_source> stops_;
};

// One piece of work at a time: a second start while one runs is refused.
class Job {
  public:
    explicit Job(Registry& registry = Registry::Process()) : jobs_(registry) {}

    // False, and nothing started, while a piece of work runs.
    template <typename Work, typename Done>
    bool start(Work work, Done done) {
        if (busy()) return false;
        jobs_.run(std::move(work), std::move(done));
        return true;
    }
    void stop() { jobs_.stop(); }
    bool busy() const { return jobs_.running() > 0; }
    bool stopping() const { return jobs_.stopping(); }
    template <typename... Args>
    std::function<void(Args...)> channel(std::function<void(Args...)> take) {
        return jobs_.channel(std::move(take));
    }

  private:
    Jobs jobs_;
};

// Work that keeps its order: one piece after another on one thread, their values handed back
// in the same order. Destroying it drops the values still to come, while the work already
// queued still runs to its end: ordered writes are not lost with their owner.
class SerialJobs {
  public:
    explicit SerialJobs(Registry& registry = Registry::Process())
        : inbox_(std::make_shared<Inbox>(receiver_)), queue_(registry) {}
    ~SerialJobs() { inbox_->close(); }

    // Queues work(stop); then done(value) on the owner's thread, or, with the owner gone,
    // unclaimed(value) on the queue's thread.
    template <typename Work, typename Done, typename Unclaimed>
    void run(Work work, Done done, Unclaimed unclaimed) {
        queue_.post([inbox = inbox_, work = std::move(work), done = std::move(done),
                     unclaimed = std::move(unclaimed)](std::stop_token stop) mutable {
            auto value = std::make_shared<std::invoke_result_t<Work&, std::stop_token>>(work(stop));
            if (!inbox->post([done, value]() mutable { done(std::move(*value)); }))
                unclaimed(*value);
        });
    }

  private:
    QObject receiver_;
    std::shared_ptr<Inbox> inbox_;
    SerialQueue queue_;
};

}  // namespace fw::jobs
