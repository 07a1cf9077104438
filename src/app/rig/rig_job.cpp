#include "app/rig/rig_job.h"

#include <QMetaObject>
#include <exception>

#include "rig/rig_lock.h"
#include "rig/rig_session.h"
#include "rig/stop_grace.h"

namespace fw {

RigJob::RigJob(QObject* parent) : QObject(parent) {}

RigJob::~RigJob() {
    stop_.request_stop();
    if (thread_.joinable()) thread_.join();
}

void RigJob::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

bool RigJob::start(rig::RigConnection connection, rig::SweepPlan plan, char sep,
                   RigJobCallbacks callbacks) {
    if (busy_) return false;
    if (thread_.joinable()) thread_.join();  // ended already: it posted its outcome
    busy_ = true;
    stop_ = std::stop_source();
    auto finish = [this, done = callbacks.finished](const RigJobOutcome& outcome) {
        busy_ = false;
        if (done) done(outcome);
    };
    thread_ = std::jthread([this, connection = std::move(connection), plan = std::move(plan), sep,
                            cb = std::move(callbacks), finish, stop = stop_.get_token()] {
        RigJobOutcome outcome;
        try {
            const rig::RigLock lock(connection, "Floorwatch");
            // A call still waiting for the rig and the restore end a grace after Stop.
            const rig::StopGrace grace(stop);
            rig::RigSession session(connection, grace.token());
            if (cb.connected) post(cb.connected);
            rig::SweepCallbacks report;
            report.progress = [&](const rig::SweepProgress& p) {
                if (cb.progress) post([p, f = cb.progress] { f(p); });
            };
            report.reading = [&](const rig::Reading& r) {
                if (cb.reading) post([r, f = cb.reading] { f(r); });
            };
            outcome.sweep = rig::RunSweep(session, plan, report, rig::Pacing{stop, {}}, sep);
        } catch (const rig::Cancelled&) {
            outcome.sweep.cancelled = true;
        } catch (const std::exception& e) {
            outcome.startFailure = e.what();
        }
        post([finish, outcome] { finish(outcome); });
    });
    return true;
}

void RigJob::cancel() {
    stop_.request_stop();
}

}  // namespace fw
