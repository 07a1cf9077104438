#include <ostream>

#include "cli/commands.h"
#include "cli/data_file_append.h"
#include "cli/log_options.h"
#include "cli/reading_plan_options.h"
#include "cli/rig_options.h"
#include "cli/signal_stop.h"
#include "libs/regional.h"
#include "measure/maidenhead.h"
#include "monitor/duration_text.h"
#include "monitor/monitor.h"
#include "monitor/rig_sweeper.h"
#include "rig/rig_error.h"
#include "rig/sweep.h"
#include "stationlog/utc_text.h"

namespace fw::cli {

namespace {

constexpr int MostSeconds = 7 * 86400;

struct MonitorOptions {
    rig::RigConnection connection;
    rig::SweepPlan plan;
    MonitorSettings settings;
    std::string logPath;
};

MonitorOptions TakeMonitorOptions(ArgList& args, char sep) {
    MonitorOptions o;
    o.connection = TakeRigOptions(args);
    o.logPath = TakeLogOption(args);
    const auto bands = args.takeOption("--bands");
    const auto every = args.takeOption("--every");
    const auto count = args.takeOption("--count");
    const auto duration = args.takeOption("--for");
    o.plan = TakeReadingPlanOptions(args, sep);
    const auto locator = args.takeOption("--locator");
    args.expectEmpty();
    if (count && duration) throw UsageError("give either --count or --for, not both");

    if (locator) {
        const Outcome<LocatorSquare> square = ParseMaidenhead(*locator);
        if (!square) throw Refusal(square.reason());
        o.settings.locator = square->text;
    }
    if (every)
        o.settings.interval =
            std::chrono::seconds(ParseIntOption("--every", *every, 1, MostSeconds));
    if (count) o.settings.sweeps = ParseIntOption("--count", *count, 1, 1'000'000);
    if (duration) {
        o.settings.duration = ParseDurationText(*duration);
        if (!o.settings.duration)
            throw Refusal("--for must be a duration such as 3600, 90m, 8h or 1d12h!");
    }
    try {
        o.settings.bands = CheckedMonitorBands(bands, o.plan.reading, sep);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(e.what());
    }
    return o;
}

}  // namespace

int CmdMonitor(ArgList& args, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    MonitorOptions o = TakeMonitorOptions(args, sep);
    // The signals are taken before any other thread starts, so they all inherit the mask.
    SignalStop signals;
    RigSweeper sweeper(o.connection, o.plan, sep);
    // A rig that cannot be reached at the start is more likely a wrong address than an
    // outage: refused at once, before the log is touched, rather than logged as gaps all
    // night.
    if (const std::string error = sweeper.connect(); !error.empty()) throw Refusal(error);
    StationLog log = OpenLogForWriting(o.logPath);

    err << "Monitoring " << o.settings.bands.size() << " bands every "
        << o.settings.interval.count() << " s into " << log.path()
        << "; Ctrl-C or SIGTERM stops after the reading in hand." << std::endl;
    MonitorCallbacks show;
    show.reading = [&](const LogReading& r) {
        out << UtcStampText(r.utc) << ' ' << ListLine(RowFromReading(r), sep) << std::endl;
    };
    show.gap = [&](const LogGap& g) {
        err << UtcStampText(g.utc) << " gap on " << g.band << ": " << g.reason << std::endl;
    };
    int sweeps = 0, readings = 0, gaps = 0;
    show.status = [&](const MonitorStatus& s) {
        sweeps = s.sweepsStarted;
        readings = s.readingsLogged;
        gaps = s.errorCount;
    };
    SystemMonitorClock clock;
    try {
        const MonitorEnd end = RunMonitor(log, sweeper, clock, o.settings, signals.token(), show);
        err << (end == MonitorEnd::Stopped ? "Stopped: " : "Done: ") << sweeps << " sweeps, "
            << readings << " readings, " << gaps << " gaps logged." << std::endl;
    } catch (const LogError& e) {
        throw Refusal(e.what());
    }
    return ExitOk;
}

}  // namespace fw::cli
