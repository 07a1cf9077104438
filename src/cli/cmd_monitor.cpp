#include <csignal>
#include <memory>
#include <ostream>

#include "cli/commands.h"
#include "cli/data_file_append.h"
#include "cli/log_options.h"
#include "cli/network_options.h"
#include "cli/reading_plan_options.h"
#include "cli/rig_options.h"
#include "cli/sdr_options.h"
#include "cli/signal_stop.h"
#include "libs/regional.h"
#include "monitor/duration_text.h"
#include "monitor/monitor_job.h"
#include "monitor/monitor_text.h"
#include "stationlog/utc_text.h"

namespace fw::cli {

namespace {

constexpr int MostSeconds = 7 * 86400;

// --until T: a UTC minute still to come.
UtcSeconds UntilOption(const std::string& text) {
    const std::optional<UtcSeconds> t = ParseUtcMinute(text);
    if (!t) throw Refusal("--until must be a UTC time written YYYY-MM-DDTHH:MM!");
    if (*t <= UtcNow()) throw Refusal("--until " + text + " has passed");
    return *t;
}

MonitorJob TakeMonitorOptions(ArgList& args, char sep) {
    MonitorJob job;
    job.sep = sep;
    job.rigUser = "floorwatch-cli monitor";
    job.sdr = TakeSdrOptions(args, sep);
    if (!job.sdr) {
        job.connection = TakeRigOptions(args);
        job.plan = TakeReadingPlanOptions(args, sep);
    } else {
        if (args.takeOption("--rigctld") || args.takeOption("--rig"))
            throw UsageError("give either --sdr or the rig (--rigctld or --rig), not both");
        job.plan.reading = TakeNoisePlan(args, sep);
    }
    job.logPath = TakeLogOption(args);
    const auto [bands, every, count, duration, until] =
        args.takeOptions("--bands", "--every", "--count", "--for", "--until");
    job.settings.locator = args.takeOption("--locator").value_or("");
    args.expectEmpty();
    if (count && duration) throw UsageError("give either --count or --for, not both");

    MonitorSettings& s = job.settings;
    if (every) s.interval = std::chrono::seconds(ParseIntOption("--every", *every, 1, MostSeconds));
    if (count) s.sweeps = ParseIntOption("--count", *count, 1, 1'000'000);
    if (duration) {
        s.duration = ParseDurationText(*duration);
        if (!s.duration) throw Refusal("--for must be a duration such as 3600, 90m, 8h or 1d12h!");
    }
    if (until) s.until = UntilOption(*until);
    if (const std::string refused = PrepareMonitorJob(job, bands); !refused.empty())
        throw Refusal(refused);
    return job;
}

}  // namespace

int CmdMonitor(ArgList& args, std::ostream& out, std::ostream& err) {
    std::optional<UploadTarget> upload = TakeUploadOptions(args);
    MonitorJob job = TakeMonitorOptions(args, SystemDecimalSeparator());
    // The signals are taken before any other thread starts, so they all inherit the mask.
    SignalStop signals;
    // A reader that went away (`monitor | head -3`) shows as a failed write, not a kill.
    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<UploadWorker> uploads;
    if (upload) {
        upload->logPath = job.logPath;
        uploads = std::make_unique<UploadWorker>(*upload);
    }

    if (job.sdr) job.noise = [&](const receiver::Reading& r) { PrintNoiseNotes(r, err); };
    MonitorCallbacks show;
    show.reading = [&](const LogReading& r) {
        out << UtcStampText(r.utc) << ' ' << ListLine(RowFromReading(r), job.sep) << std::endl;
        if (!out) signals.requestStop();  // nobody reads any more: end as SIGTERM does
    };
    show.gap = [&](const LogGap& g) {
        err << UtcStampText(g.utc) << " gap on " << g.band << ": " << g.reason << std::endl;
    };
    show.sweepEnded = [&](const SweepReport& sweep) {
        err << SweepLineText(sweep) << std::endl;
        if (uploads) uploads->request();
        if (sweep.late) err << "warning: " << LateSweepText(sweep, job.settings.interval) << std::endl;
    };
    show.logBusy = [&](const std::string& reason) {
        err << reason << ": the station log is busy; the monitor waits for it, keeps what it "
            << "reads meanwhile and writes it as soon as the log is free" << std::endl;
    };
    MonitorStatus last;
    show.status = [&](const MonitorStatus& s) {
        // The first report comes once the rig and the log are open.
        if (last.startedAt == 0)
            err << "Monitoring " << CountText(static_cast<int>(job.settings.bands.size()), "band")
                << " every " << job.settings.interval.count() << " s into " << job.logPath
                << "; Ctrl-C, SIGTERM or SIGHUP stops"
                << (job.sdr ? "." : " and restores the rig.") << std::endl;
        if (s.phase == MonitorStatus::Phase::Stopping && last.phase != s.phase)
            err << (job.sdr ? "stopping…" : "stopping: restoring the rig…") << std::endl;
        if (!s.restoreFailure.empty() && s.restoreFailure != last.restoreFailure)
            err << "The rig's frequency and mode could not be restored: " << s.restoreFailure
                << std::endl;
        last = s;
    };
    SystemMonitorClock clock;
    const Outcome<MonitorEnd> end =
        RunMonitorJob(job, clock, signals.token(), show, signals.hurryToken());
    if (!end) throw Refusal(end.reason());
    err << (end.value() == MonitorEnd::Stopped ? "Stopped: " : "Done: ")
        << MonitorSummaryText(last) << '.' << std::endl;
    if (uploads) {
        // The last sweep's upload is waited for unless the monitor was stopped.
        if (end.value() == MonitorEnd::Completed) uploads->finish(signals.token());
        err << "Upload: " << UploadWorkerSummary(uploads->status()) << '.' << std::endl;
    }
    // A rig left elsewhere than the user had it is not a success.
    return last.restoreFailure.empty() ? ExitOk : ExitRefused;
}

}  // namespace fw::cli
