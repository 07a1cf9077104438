#include "app/rig/sdr_job.h"

#include <exception>

#include "sdr/sdr_lock.h"
#include "sdr/sdr_receiver.h"

namespace fw {

SdrJob::SdrJob(QObject* parent) : WorkerJob(parent) {}

bool SdrJob::start(sdr::SdrSettings settings, std::vector<receiver::ResolvedTarget> targets,
                   rig::ReadingPlan plan, char sep, SdrJobCallbacks callbacks) {
    return launch([post = poster(), settings = std::move(settings), targets = std::move(targets),
                   plan = std::move(plan), sep,
                   cb = std::move(callbacks)](std::stop_token stop) -> std::function<void()> {
        SdrJobOutcome outcome;
        try {
            // One user of the SDR at a time: a monitor or a command-line job holding it is named.
            const sdr::ClaimedSdr claimed = sdr::ClaimSdr(settings, "Floorwatch", stop);
            sdr::SdrReceiver device(claimed.settings, plan, sep);
            device.open(stop);
            if (cb.opened) post(cb.opened);
            outcome.sweep = receiver::RunSweep(device, targets, stop, [&](const receiver::Reading& r) {
                if (cb.reading) post([r, f = cb.reading] { f(r); });
            });
        } catch (const receiver::Cancelled&) {
            outcome.sweep.cancelled = true;  // stopped while the device was being opened
        } catch (const std::exception& e) {
            outcome.startFailure = e.what();
        }
        return [done = cb.finished, outcome] {
            if (done) done(outcome);
        };
    });
}

}  // namespace fw
