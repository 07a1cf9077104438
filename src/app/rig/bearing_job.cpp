#include "app/rig/bearing_job.h"

#include <exception>

#include "rig/pacing.h"
#include "rotator/rotator_claim.h"
#include "rotator/scan_receiver.h"

namespace fw {

namespace {

constexpr const char* WindowUser = "Floorwatch";

}  // namespace

BearingJob::BearingJob(QObject* parent) : WorkerJob(parent) {}

BearingJob::~BearingJob() {
    hurry();
}

void BearingJob::hurry() {
    if (hurry_) hurry_->request_stop();
}

bool BearingJob::start(BearingJobRequest request, BearingJobCallbacks callbacks) {
    if (busy()) return false;
    auto hurry = std::make_shared<std::stop_source>();
    hurry_ = hurry;
    return launch([post = poster(), r = std::move(request), cb = std::move(callbacks),
                   hurry](std::stop_token stop) -> std::function<void()> {
        BearingJobOutcome outcome;
        const std::stop_token late = hurry->get_token();
        try {
            rotator::ClaimedRotator claimed = rotator::ClaimRotator(r.rotator, WindowUser, stop);
            const std::unique_ptr<rotator::ScanReceiver> receiver =
                r.sdr ? rotator::OpenScanSdr(*r.sdr, r.plan.reading, r.where, WindowUser, stop, r.sep)
                      : rotator::OpenScanRig(r.rig, r.plan, r.where, WindowUser, stop, late, r.sep);
            if (cb.started) post([f = cb.started, label = claimed.label, unit = receiver->unit()] { f(label, unit); });
            rotator::ScanCallbacks scan;
            scan.turning = [&](const rotator::ScanStep& s) {
                if (cb.turning) post([f = cb.turning, s] { f(s); });
            };
            scan.reading = [&](const BearingLevel& l) {
                if (cb.reading) post([f = cb.reading, l] { f(l); });
            };
            scan.returning = [&](double deg) {
                if (cb.returning) post([f = cb.returning, deg] { f(deg); });
            };
            scan.giveBackReceiver = [&] { return receiver->giveBack(); };
            outcome.scan = rotator::RunBearingScan(
                *claimed.rotator, r.bearings,
                [&](std::stop_token s) { return receiver->read(s); }, scan, stop, late);
        } catch (const rig::Cancelled&) {
            outcome.scan.cancelled = true;  // stopped before the scan began
        } catch (const std::exception& e) {
            outcome.startFailure = e.what();
        }
        return [done = cb.finished, outcome] {
            if (done) done(outcome);
        };
    });
}

}  // namespace fw
