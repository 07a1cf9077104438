#include "sdr/sdr_open.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include "jobs/registry.h"
#include "receiver/receiver_error.h"

namespace fw::sdr {

namespace {

// What the opening thread and the waiting caller share; whichever finishes last frees it.
struct Opening {
    std::mutex mutex;
    std::condition_variable_any done;
    bool finished = false;
    bool abandoned = false;
    std::unique_ptr<SdrSession> session;
    std::exception_ptr failure;
};

}  // namespace

std::unique_ptr<SdrSession> OpenSdrSession(const SdrSettings& settings, std::stop_token stop) {
    auto opening = std::make_shared<Opening>();
    // A driver's open cannot be interrupted, and the device it opens must belong to this
    // process, so a child process cannot do it for us: the open runs on a thread of the
    // process's registry. A stop gives the wait up at once; the thread ends when the driver
    // returns and closes what it opened, the registry joins it then, and at exit waits for it
    // only a bounded time.
    jobs::Registry::Process().start([opening, settings](std::stop_token) {
        std::unique_ptr<SdrSession> session;
        std::exception_ptr failure;
        try {
            session = std::make_unique<SdrSession>(settings);
        } catch (...) {
            failure = std::current_exception();
        }
        std::unique_lock lock(opening->mutex);
        opening->finished = true;
        if (opening->abandoned) {
            lock.unlock();
            return;  // the session opened too late is closed here
        }
        opening->session = std::move(session);
        opening->failure = failure;
        opening->done.notify_all();
    });

    std::unique_lock lock(opening->mutex);
    if (!opening->done.wait(lock, stop, [&] { return opening->finished; })) {
        opening->abandoned = true;
        throw receiver::Cancelled();
    }
    if (opening->failure) std::rethrow_exception(opening->failure);
    return std::move(opening->session);
}

}  // namespace fw::sdr
