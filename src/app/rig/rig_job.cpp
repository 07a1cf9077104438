#include "app/rig/rig_job.h"

#include <exception>

#include "rig/rig_lock.h"
#include "rig/rig_session.h"
#include "rig/stop_grace.h"

namespace fw {

RigJob::RigJob(QObject* parent) : WorkerJob(parent) {}

bool RigJob::start(rig::RigConnection connection, rig::SweepPlan plan, char sep,
                   RigJobCallbacks callbacks) {
    return launch([post = poster(), connection = std::move(connection), plan = std::move(plan), sep,
                   cb = std::move(callbacks)](std::stop_token stop) -> std::function<void()> {
        RigJobOutcome outcome;
        try {
            const receiver::ReceiverLock lock = rig::LockRig(connection, "Floorwatch");
            // A call still waiting for the rig and the restore end a grace after Stop.
            const rig::StopGrace grace(stop);
            rig::RigSession session(connection, grace.token());
            if (cb.connected) post(cb.connected);
            rig::SweepCallbacks report;
            report.progress = [&](const rig::SweepProgress& p) {
                if (cb.progress) post([p, f = cb.progress] { f(p); });
            };
            report.reading = [&](const receiver::Reading& r) {
                if (cb.reading) post([r, f = cb.reading] { f(r); });
            };
            outcome.sweep = rig::RunSweep(session, plan, report, rig::Pacing{stop, {}}, sep);
        } catch (const rig::Cancelled&) {
            outcome.sweep.cancelled = true;
        } catch (const std::exception& e) {
            outcome.startFailure = e.what();
        }
        return [done = cb.finished, outcome] {
            if (done) done(outcome);
        };
    });
}

}  // namespace fw
