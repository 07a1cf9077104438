#include <optional>
#include <ostream>
#include <stop_token>

#include "cli/commands.h"
#include "cli/data_file_append.h"
#include "cli/reading_plan_options.h"
#include "cli/rig_options.h"
#include "cli/signal_stop.h"
#include "libs/regional.h"
#include "rig/rig_error.h"
#include "rig/rig_lock.h"
#include "rig/rig_models.h"
#include "rig/rig_session.h"
#include "rig/stop_grace.h"
#include "rig/sweep.h"

namespace fw::cli {

namespace {

// The options of `rig read` and `rig sweep`.
struct RigCommandOptions {
    rig::RigConnection connection;
    rig::SweepPlan plan;
    std::optional<std::string> band, freq, bands, appendTo;
};

RigCommandOptions TakeRigCommandOptions(ArgList& args) {
    RigCommandOptions o;
    o.connection = TakeRigOptions(args);
    o.band = args.takeOption("--band");
    o.freq = args.takeNumberOption("--freq", SystemDecimalSeparator());
    o.bands = args.takeOption("--bands");
    o.appendTo = args.takeOption("--append");
    o.plan = TakeReadingPlanOptions(args, SystemDecimalSeparator());
    return o;
}

std::optional<DataFileAppend> OpenAppend(const std::optional<std::string>& path, char sep) {
    if (!path) return std::nullopt;
    return DataFileAppend(*path, sep);
}

std::vector<MeasRow> Rows(const std::vector<rig::Reading>& readings) {
    std::vector<MeasRow> rows;
    for (const rig::Reading& r : readings) rows.push_back(r.entry.row);
    return rows;
}

int RunReadingOrSweep(bool sweep, RigCommandOptions& o, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    if (sweep && (o.band || o.freq))
        throw UsageError("rig sweep takes --bands, not --band or --freq");
    if (!sweep && o.bands) throw UsageError("rig read takes --band or --freq, not --bands");
    if (o.band && o.freq) throw UsageError("give either --band or --freq, not both");

    std::optional<rig::SweepPlan> tuned;  // read at the rig's own frequency when none
    std::string first;                    // the label of the first target
    if (sweep || o.band || o.freq) {
        tuned = o.plan;
        if (o.bands) tuned->targets = rig::BandTargets(*o.bands);
        if (o.band) tuned->targets = {rig::RigTarget::Band(*o.band)};
        if (o.freq) tuned->targets = {rig::RigTarget::Free(*o.freq)};
        for (const auto& t : tuned->targets) rig::ResolveTarget(t, o.plan.reading, sep);
        first = rig::ResolveTarget(tuned->targets.front(), o.plan.reading, sep).label;
    } else {
        rig::ResolveTarget(rig::RigTarget::Band("80m"), o.plan.reading, sep);  // gain, bandwidth
    }
    // A refused file ends the command before the rig is touched.
    std::optional<DataFileAppend> append = OpenAppend(o.appendTo, sep);

    // Before the rig's threads start, so that they inherit the signal mask.
    SignalStop signals;
    const rig::RigLock lock(o.connection,
                            sweep ? "floorwatch-cli rig sweep" : "floorwatch-cli rig read");
    // Ctrl-C ends the waits at once; a call still waiting for the rig and the restore end
    // with the grace, or at a second Ctrl-C.
    const rig::StopGrace grace(signals.token(), signals.hurryToken());
    rig::RigSession session(o.connection, grace.token());
    const rig::Pacing pacing{signals.token(), {}};
    if (!tuned) {
        const rig::Reading r = rig::ReadHere(session, o.plan.reading, pacing, sep);
        if (append) append->save({r.entry.row}, std::nullopt, std::nullopt);
        out << ListLine(r.entry.row, sep) << '\n';
        return ExitOk;
    }
    rig::SweepCallbacks show;
    show.reading = [&](const rig::Reading& r) { out << ListLine(r.entry.row, sep) << std::endl; };
    const rig::SweepResult result = rig::RunSweep(session, *tuned, show, pacing, sep);
    // The rows taken are kept, also when the sweep ended early.
    if (append && !result.readings.empty())
        append->save(Rows(result.readings), std::nullopt, std::nullopt);
    bool ok = result.complete();
    // A single reading names the place it was to be read, not a sweep.
    if (!result.failure.empty())
        err << (sweep ? result.failure : rig::ReadingFailureText(first, result.failureReason))
            << '\n';
    if (result.cancelled)
        err << "Cancelled after " << result.readings.size() << " of " << tuned->targets.size()
            << " readings\n";
    if (!result.restoreFailure.empty()) {
        err << "The rig's frequency and mode could not be restored: " << result.restoreFailure
            << '\n';
        ok = false;
    }
    return ok ? ExitOk : ExitRefused;
}

}  // namespace

int CmdRig(ArgList& args, std::ostream& out, std::ostream& err) {
    const auto sub = args.takePositional();
    if (sub == "models") {
        args.expectEmpty();
        for (const rig::RigModelInfo& m : rig::RigModels()) out << rig::ModelLine(m) << '\n';
        return ExitOk;
    }
    if (sub != "read" && sub != "sweep") throw UsageError("rig needs read, sweep or models");
    try {
        RigCommandOptions options = TakeRigCommandOptions(args);
        args.expectEmpty();
        return RunReadingOrSweep(sub == "sweep", options, out, err);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(e.what());
    } catch (const rig::RigSettingsError& e) {
        throw Refusal(e.what());
    } catch (const rig::RigError& e) {
        throw Refusal(e.what());
    } catch (const rig::Cancelled&) {
        throw Refusal("Cancelled");
    }
}

}  // namespace fw::cli
