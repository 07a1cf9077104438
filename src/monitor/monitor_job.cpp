#include "monitor/monitor_job.h"

#include <filesystem>

#include "measure/maidenhead.h"
#include "monitor/busy_log.h"
#include "monitor/receiver_sweeper.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"
#include "rig/rig_lock.h"
#include "rig/rig_receiver.h"
#include "sdr/sdr_lock.h"
#include "sdr/sdr_open.h"
#include "sdr/sdr_receiver.h"

namespace fw {

std::string PrepareMonitorJob(MonitorJob& job, const std::optional<std::string_view>& bands) {
    try {
        rig::CheckSweepPlan(job.plan, job.sep);
        job.settings.bands = CheckedMonitorBands(bands, job.plan.reading, job.sep);
    } catch (const rig::ReadingInputError& e) {
        return e.what();
    }
    if (job.settings.locator.empty()) return {};
    const Outcome<LocatorSquare> square = ParseMaidenhead(job.settings.locator);
    if (!square) return square.reason();
    job.settings.locator = square->text;
    return {};
}

namespace {

// The job's receiver, taken for the job's user; throws receiver::ReceiverError while another
// job holds it.
std::unique_ptr<Sweeper> TakeReceiver(const MonitorJob& job,
                                      std::optional<receiver::ReceiverLock>& lock,
                                      std::stop_token stop, std::stop_token hurry) {
    if (job.sdr) {
        sdr::ClaimedSdr claimed = sdr::ClaimSdr(*job.sdr, job.rigUser, stop);
        lock.emplace(std::move(claimed.lock));
        return std::make_unique<ReceiverSweeper>(
            std::make_unique<sdr::SdrReceiver>(std::move(claimed.settings), job.plan.reading,
                                               job.sep),
            ReadingSource::Sdr, job.plan.reading, job.sep, std::move(stop), job.noise);
    }
    lock.emplace(rig::LockRig(job.connection, job.rigUser));
    return std::make_unique<ReceiverSweeper>(
        std::make_unique<rig::RigReceiver>(job.connection, job.plan, job.sep, stop,
                                           std::move(hurry)),
        ReadingSource::Rig, job.plan.reading, job.sep, stop);
}

}  // namespace

Outcome<MonitorEnd> RunMonitorJob(const MonitorJob& job, MonitorClock& clock, std::stop_token stop,
                                  const MonitorCallbacks& callbacks, std::stop_token hurry) {
    try {
        MonitorSettings settings = job.settings;
        const UtcSeconds wanted = UtcSecondsAt(clock.now());
        std::optional<StationLog> log;
        const auto openLog = [&] {
            log.emplace(OpenLogThroughBusy(job.logPath, clock, stop, [&](const std::string& why) {
                settings.missedStart = wanted;
                if (callbacks.logBusy) callbacks.logBusy(why);
            }));
        };
        // A log that exists is checked before the rig, so that one that cannot be used is
        // refused whatever state the rig is in; a new one is made only once the rig answers.
        std::error_code ec;
        if (std::filesystem::exists(job.logPath, ec)) openLog();
        std::optional<receiver::ReceiverLock> lock;
        std::unique_ptr<Sweeper> sweeper;
        try {
            sweeper = TakeReceiver(job, lock, stop, std::move(hurry));
        } catch (const receiver::ReceiverError& e) {
            return Outcome<MonitorEnd>::Fail(e.what());
        } catch (const receiver::Cancelled&) {
            return Outcome<MonitorEnd>::Fail(sdr::StoppedWhileOpeningText);
        }
        if (std::string error = sweeper->connect(); !error.empty())
            return Outcome<MonitorEnd>::Fail(std::move(error));
        if (!log) openLog();
        return Outcome<MonitorEnd>::Ok(
            RunMonitor(*log, *sweeper, clock, settings, std::move(stop), callbacks));
    } catch (const LogError& e) {
        return Outcome<MonitorEnd>::Fail(e.what());
    }
}

}  // namespace fw
