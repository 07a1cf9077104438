#include "monitor/monitor_job.h"

#include <filesystem>

#include "measure/maidenhead.h"
#include "monitor/busy_log.h"
#include "monitor/rig_sweeper.h"
#include "monitor/sdr_sweeper.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"
#include "rig/rig_lock.h"
#include "rig/pacing.h"
#include "sdr/sdr_lock.h"
#include "sdr/sdr_open.h"

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

// The job's receiver, taken for the job's user; throws rig::RigError while another job
// holds it.
std::unique_ptr<Sweeper> TakeReceiver(const MonitorJob& job, std::optional<rig::RigLock>& lock,
                                      std::stop_token stop, std::stop_token hurry) {
    if (job.sdr) {
        sdr::ClaimedSdr claimed = sdr::ClaimSdr(*job.sdr, job.rigUser, stop);
        lock.emplace(std::move(claimed.lock));
        return std::make_unique<SdrSweeper>(std::move(claimed.settings), job.plan.reading,
                                            job.sep, std::move(stop), job.noise);
    }
    lock.emplace(job.connection, job.rigUser);
    return std::make_unique<RigSweeper>(job.connection, job.plan, job.sep,
                                        rig::Pacing{std::move(stop), {}}, std::move(hurry));
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
        std::optional<rig::RigLock> lock;
        std::unique_ptr<Sweeper> sweeper;
        try {
            sweeper = TakeReceiver(job, lock, stop, std::move(hurry));
        } catch (const rig::RigError& e) {
            return Outcome<MonitorEnd>::Fail(e.what());
        } catch (const sdr::SdrError& e) {
            return Outcome<MonitorEnd>::Fail(e.what());
        } catch (const rig::Cancelled&) {
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
