#include "cli/receiver_command.h"

#include <ostream>

#include "cli/commands.h"
#include "cli/data_file_append.h"
#include "cli/sdr_options.h"
#include "cli/signal_stop.h"
#include "libs/regional.h"
#include "receiver/sweep.h"
#include "rig/sweep.h"

namespace fw::cli {

namespace {

std::vector<receiver::Target> TargetsOf(const ReceiverCommand& c) {
    if (c.band) return {receiver::Target::Band(*c.band)};
    if (c.freq) return {receiver::Target::Free(*c.freq)};
    if (c.bands) return rig::BandTargets(*c.bands);
    return rig::AllBandTargets();
}

void CheckUsage(const ReceiverCommand& c) {
    const std::string command = c.name + (c.sweep ? " sweep" : " read");
    if (c.sweep && (c.band || c.freq))
        throw UsageError(command + " takes --bands, not --band or --freq");
    if (!c.sweep && c.bands) throw UsageError(command + " takes --band or --freq, not --bands");
    if (c.band && c.freq) throw UsageError("give either --band or --freq, not both");
    if (!c.sweep && !c.band && !c.freq && !c.readsHere)
        throw UsageError(command + " needs --band B or --freq MHZ");
}

void ShowReading(const receiver::Reading& r, char sep, std::ostream& out, std::ostream& err) {
    if (r.fromSdr()) PrintNoiseNotes(r, err);
    out << ListLine(r.entry.row, sep) << std::endl;
}

}  // namespace

int RunReceiverCommand(const ReceiverCommand& c, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    CheckUsage(c);
    const bool here = !c.sweep && !c.band && !c.freq;
    std::vector<receiver::ResolvedTarget> targets;
    if (here) {
        rig::ResolveTarget(receiver::Target::Band("80m"), c.reading, sep);  // gain, bandwidth
    } else {
        for (const receiver::Target& t : TargetsOf(c))
            targets.push_back(rig::ResolveTarget(t, c.reading, sep));
    }
    // A refused file ends the command before the receiver is touched.
    std::optional<DataFileAppend> append;
    if (c.appendTo) append.emplace(*c.appendTo, sep);

    // Before the receiver's threads start, so that they inherit the signal mask. Ctrl-C ends
    // the waits at once; a call still waiting for a rig and the restore end with the grace,
    // or at a second Ctrl-C.
    SignalStop signals;
    const std::string user = "floorwatch-cli " + c.name + (c.sweep ? " sweep" : " read");
    const TakenReceiver taken = c.take(user, signals.token(), signals.hurryToken());
    receiver::Receiver& device = *taken.receiver;
    device.open(signals.token());
    if (here) {
        const receiver::Reading r = taken.readHere(signals.token());
        if (append) append->save({r.entry.row}, std::nullopt, std::nullopt);
        ShowReading(r, sep, out, err);
        return ExitOk;
    }
    const receiver::SweepResult result = receiver::RunSweep(
        device, targets, signals.token(),
        [&](const receiver::Reading& r) { ShowReading(r, sep, out, err); });
    // The rows taken are kept, also when the sweep ended early.
    std::vector<MeasRow> rows;
    for (const receiver::Reading& r : result.readings) rows.push_back(r.entry.row);
    if (append && !rows.empty()) append->save(rows, std::nullopt, std::nullopt);
    bool ok = result.complete();
    if (!result.failure.empty()) {
        // A single reading names the place it was to be read, not a sweep.
        const bool single = !c.sweep && c.readFailure;
        err << (single ? c.readFailure(targets.front().label, result.failureReason)
                       : result.failure)
            << '\n';
    }
    if (result.cancelled)
        err << "Cancelled after " << rows.size() << " of " << targets.size() << " readings\n";
    if (!result.restoreFailure.empty()) {
        err << "The rig's frequency and mode could not be restored: " << result.restoreFailure
            << '\n';
        ok = false;
    }
    return ok ? ExitOk : ExitRefused;
}

}  // namespace fw::cli
