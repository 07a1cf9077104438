#pragma once
// A bearing scan off the window's thread: the work takes the rotator and the receiver, turns
// through the bearings and reports each step back on the thread that owns this object.
// Cancel stops the scan, which turns the rotator back and waits for it; hurry() (a second
// Stop) leaves the rotator where it is, and so does destroying the job.
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/window/worker_job.h"
#include "receiver/target.h"
#include "rig/reading.h"
#include "rig/rig_settings.h"
#include "rig/sweep.h"
#include "rotator/bearing_scan.h"
#include "sdr/sdr_session.h"

namespace fw {

struct BearingJobRequest {
    rig::RigctldAddress rotator;
    std::vector<double> bearings;
    receiver::ResolvedTarget where;
    std::optional<sdr::SdrSettings> sdr;  // none: the rig
    rig::RigConnection rig;
    rig::SweepPlan plan;
    char sep = '.';
};

struct BearingJobOutcome {
    rotator::ScanResult scan;
    std::string startFailure;  // the rotator or the receiver could not be taken
};

struct BearingJobCallbacks {
    // The rotator ("rotctld at HOST:PORT (Dummy rotator)") and the receiver are taken; the
    // levels come in this unit.
    std::function<void(const std::string& rotator, const std::string& unit)> started;
    std::function<void(const rotator::ScanStep&)> turning;
    std::function<void(const BearingLevel&)> reading;
    std::function<void(double startDeg)> returning;
    std::function<void(const BearingJobOutcome&)> finished;
};

class BearingJob : public WorkerJob {
    Q_OBJECT

  public:
    explicit BearingJob(QObject* parent = nullptr);
    // A scan still running when the window goes ends without waiting for the rotator.
    ~BearingJob() override;

    // Refused (false) while busy. The callbacks run on this object's thread.
    bool start(BearingJobRequest request, BearingJobCallbacks callbacks);
    // Leaves the rotator where it is instead of waiting for it to turn back.
    void hurry();

  private:
    std::shared_ptr<std::stop_source> hurry_;
};

}  // namespace fw
