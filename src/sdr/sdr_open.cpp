#include "sdr/sdr_open.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "rig/pacing.h"

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
    std::thread([opening, settings] {
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
    }).detach();

    std::unique_lock lock(opening->mutex);
    if (!opening->done.wait(lock, stop, [&] { return opening->finished; })) {
        opening->abandoned = true;
        throw rig::Cancelled();
    }
    if (opening->failure) std::rethrow_exception(opening->failure);
    return std::move(opening->session);
}

}  // namespace fw::sdr
