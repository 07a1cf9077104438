#pragma once
// SDR noise measurements off the window's thread: a worker thread opens the device, measures
// the noise floor at each target in turn and reports back on the thread that owns this
// object. Cancel asks the worker to stop; the capture sees it within a tenth of a second.
#include <functional>
#include <string>
#include <vector>

#include "app/window/worker_job.h"
#include "rig/reading.h"
#include "receiver/sweep.h"
#include "sdr/sdr_session.h"

namespace fw {

// How a job ended. The readings were already reported one by one.
struct SdrJobOutcome {
    receiver::SweepResult sweep;
    // The device could not be opened ("SDR not available: ..."); nothing was measured.
    std::string startFailure;
};

struct SdrJobCallbacks {
    // The device is open.
    std::function<void()> opened;
    std::function<void(const receiver::Reading&)> reading;
    std::function<void(const SdrJobOutcome&)> finished;
};

class SdrJob : public WorkerJob {
    Q_OBJECT

  public:
    explicit SdrJob(QObject* parent = nullptr);

    // Starts the measurements; the callbacks run on this object's thread. Refused (false)
    // while busy. The targets must have been resolved against `plan`.
    bool start(sdr::SdrSettings settings, std::vector<receiver::ResolvedTarget> targets,
               rig::ReadingPlan plan, char sep, SdrJobCallbacks callbacks);
};

}  // namespace fw
