#pragma once
// Rig work off the window's thread: a worker thread opens its own rig session, runs a sweep
// (a single reading is a sweep of one target) and reports back on the thread that owns this
// object. Cancel asks the worker to stop; it ends at its next check (waits come in 50 ms
// slices) or when the rig call in progress returns within its timeout.
#include <functional>
#include <string>

#include "app/window/worker_job.h"
#include "rig/rig_settings.h"
#include "rig/sweep.h"

namespace fw {

// How a job ended. `readings` were already reported one by one.
struct RigJobOutcome {
    rig::SweepResult sweep;
    // The session could not be opened ("rigctld not reachable at HOST:PORT", ...) or the
    // plan was refused; nothing was read or tuned.
    std::string startFailure;
};

struct RigJobCallbacks {
    std::function<void()> connected;
    std::function<void(const rig::SweepProgress&)> progress;
    std::function<void(const receiver::Reading&)> reading;
    std::function<void(const RigJobOutcome&)> finished;
};

class RigJob : public WorkerJob {
    Q_OBJECT

  public:
    explicit RigJob(QObject* parent = nullptr);

    // Starts the sweep; the callbacks run on this object's thread. Refused (false) while busy.
    // The plan's targets must have been checked (rig::ResolveTarget) by the caller.
    bool start(rig::RigConnection connection, rig::SweepPlan plan, char sep,
               RigJobCallbacks callbacks);
};

}  // namespace fw
