#include <ostream>

#include "cli/commands.h"
#include "cli/data_file_append.h"
#include "cli/sdr_options.h"
#include "cli/signal_stop.h"
#include "libs/regional.h"
#include "rig/pacing.h"
#include "rig/rig_error.h"
#include "rig/sweep.h"
#include "sdr/sdr_lock.h"
#include "sdr/sdr_open.h"
#include "sdr/sdr_sweep.h"

namespace fw::cli {

namespace {

int RunSdrReadings(bool sweep, ArgList& args, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    const auto settings = TakeSdrOptions(args, sep);
    if (!settings) throw UsageError(std::string("sdr ") + (sweep ? "sweep" : "read") + " needs --sdr ARGS");
    const auto freq = args.takeNumberOption("--freq", sep);
    const auto [band, bands, appendTo] = args.takeOptions("--band", "--bands", "--append");
    const rig::ReadingPlan plan = TakeNoisePlan(args, sep);
    args.expectEmpty();
    if (sweep && (band || freq)) throw UsageError("sdr sweep takes --bands, not --band or --freq");
    if (!sweep && bands) throw UsageError("sdr read takes --band or --freq, not --bands");
    if (band && freq) throw UsageError("give either --band or --freq, not both");
    if (!sweep && !band && !freq) throw UsageError("sdr read needs --band B or --freq MHZ");

    std::vector<rig::RigTarget> targets = rig::AllBandTargets();
    if (bands) targets = rig::BandTargets(*bands);
    if (band) targets = {rig::RigTarget::Band(*band)};
    if (freq) targets = {rig::RigTarget::Free(*freq)};
    std::vector<rig::ResolvedTarget> resolved;
    for (const auto& t : targets) resolved.push_back(rig::ResolveTarget(t, plan, sep));
    // A refused file ends the command before the device is opened.
    std::optional<DataFileAppend> append;
    if (appendTo) append.emplace(*appendTo, sep);

    // One user of the device at a time, taken before it is opened.
    SignalStop interrupt;
    const sdr::ClaimedSdr claimed =
        sdr::ClaimSdr(*settings, sweep ? "floorwatch-cli sdr sweep" : "floorwatch-cli sdr read",
                      interrupt.token());
    const std::unique_ptr<sdr::SdrSession> session =
        sdr::OpenSdrSession(claimed.settings, interrupt.token());
    const sdr::SdrSweepResult result = sdr::RunSdrSweep(
        *session, resolved, claimed.settings, plan,
        [&](const sdr::NoiseReading& r) {
            PrintNoiseNotes(r, err);
            out << ListLine(r.entry.row, sep) << std::endl;
        },
        interrupt.token(), sep);
    std::vector<MeasRow> rows;
    for (const auto& r : result.readings) rows.push_back(r.entry.row);
    if (append && !rows.empty()) append->save(rows, std::nullopt, std::nullopt);
    if (!result.failure.empty()) err << result.failure << '\n';
    if (result.cancelled)
        err << "Cancelled after " << rows.size() << " of " << resolved.size() << " readings\n";
    return result.complete() ? ExitOk : ExitRefused;
}

}  // namespace

int CmdSdr(ArgList& args, std::ostream& out, std::ostream& err) {
    const auto sub = args.takePositional();
    try {
        if (sub == "devices") {
            args.expectEmpty();
            SignalStop interrupt;
            for (const sdr::SdrDeviceInfo& d : sdr::FindSdrDevices({}, interrupt.token()))
                out << sdr::DeviceLine(d) << '\n';
            return ExitOk;
        }
        if (sub == "signature") return RunSdrSignature(args, out, err);
        if (sub != "read" && sub != "sweep") throw UsageError("sdr needs devices, read, sweep or signature");
        return RunSdrReadings(sub == "sweep", args, out, err);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(e.what());
    } catch (const sdr::SdrError& e) {
        throw Refusal(e.what());
    } catch (const sdr::SdrSearchError& e) {
        throw Refusal(e.what());
    } catch (const sdr::RefusedReading& e) {
        throw Refusal(e.what());
    } catch (const rig::RigError& e) {
        throw Refusal(e.what());
    } catch (const rig::Cancelled&) {
        throw Refusal(sdr::StoppedWhileOpeningText);
    }
}

}  // namespace fw::cli
