// bearing scan: where the noise comes from, read at the bearings of a turned antenna.
#include <ostream>

#include "rotator/bearing_scan.h"
#include "rotator/rotator_claim.h"
#include "rotator/scan_receiver.h"
#include "cli/commands.h"
#include "cli/log_options.h"
#include "cli/reading_plan_options.h"
#include "cli/rig_options.h"
#include "cli/sdr_options.h"
#include "cli/signal_stop.h"
#include "libs/regional.h"
#include "rig/pacing.h"
#include "rig/rig_error.h"
#include "sdr/sdr_open.h"
#include "stationlog/log_bearing.h"
#include "stationlog/utc_text.h"

namespace fw::cli {

namespace {

constexpr const char* ScanUser = "floorwatch-cli bearing scan";

struct ScanOptions {
    rig::RigctldAddress rotator;
    std::vector<double> bearings;
    std::optional<sdr::SdrSettings> sdr;
    rig::RigConnection rig;
    rig::SweepPlan plan;
    receiver::Target target;
    std::optional<std::string> logPath;
    bool csv = false;
};

ScanOptions TakeScanOptions(ArgList& args, char sep) {
    ScanOptions o;
    o.sdr = TakeSdrOptions(args, sep);
    if (!o.sdr) {
        o.rig = TakeRigOptions(args);
        o.plan = TakeReadingPlanOptions(args, sep);
    } else {
        if (args.takeOption("--rigctld") || args.takeOption("--rig"))
            throw UsageError("give either --sdr or the rig (--rigctld or --rig), not both");
        o.plan.reading = TakeNoisePlan(args, sep);
    }
    const auto [address, from, to, step, band, format] =
        args.takeOptions("--rotator", "--from", "--to", "--step", "--band", "--format");
    const auto freq = args.takeNumberOption("--freq", sep);
    o.logPath = args.takeOption("--log");
    args.expectEmpty();
    if (!address) throw UsageError("bearing scan needs --rotator HOST[:PORT]");
    if (band && freq) throw UsageError("give either --band or --freq, not both");
    if (!band && !freq) throw UsageError("bearing scan needs --band B or --freq MHZ");
    if (format && *format != "text" && *format != "csv")
        throw UsageError("--format must be text or csv");
    o.csv = format && *format == "csv";
    rotator::ScanSpan span;
    if (from) span.fromDeg = ParseIntOption("--from", *from, 0, 359);
    if (to) span.toDeg = ParseIntOption("--to", *to, 0, 359);
    if (step) span.stepDeg = ParseIntOption("--step", *step, 1, rotator::MostStepDeg);
    try {
        o.rotator = rotator::ParseRotctldAddress(*address);
        o.bearings = rotator::ScanBearings(span);
    } catch (const std::invalid_argument& e) {
        throw Refusal(e.what());
    }
    o.target = band ? receiver::Target::Band(*band) : receiver::Target::Free(*freq);
    return o;
}

int RunScan(const ScanOptions& o, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    const receiver::ResolvedTarget where = rig::ResolveTarget(o.target, o.plan.reading, sep);
    // A log that cannot take the scan is refused before the rotator turns.
    std::optional<StationLog> log;
    if (o.logPath) log = OpenLogForWriting(*o.logPath);
    // Before any other thread starts, so that they inherit the signal mask.
    SignalStop signals;
    rotator::ClaimedRotator claimed = rotator::ClaimRotator(o.rotator, ScanUser, signals.token());
    const std::unique_ptr<rotator::ScanReceiver> receiver =
        o.sdr ? rotator::OpenScanSdr(*o.sdr, o.plan.reading, where, ScanUser, signals.token(), sep)
              : rotator::OpenScanRig(o.rig, o.plan, where, ScanUser, signals.token(),
                                     signals.hurryToken(), sep);
    err << "Scanning " << o.bearings.size() << " bearings from "
        << rotator::DegreesText(o.bearings.front()) << " to "
        << rotator::DegreesText(o.bearings.back()) << " at " << where.label << " with "
        << claimed.label << "; Ctrl-C, SIGTERM or SIGHUP stops and turns the rotator "
        << "back, a second one leaves it." << std::endl;
    if (o.csv) out << rotator::ScanCsvHeader << std::flush;

    rotator::ScanCallbacks show;
    show.turning = [&](const rotator::ScanStep& s) {
        err << "Turning to " << rotator::DegreesText(s.azimuthDeg) << " (" << s.index + 1 << " of "
            << s.count << ")" << std::endl;
    };
    show.reading = [&](const BearingLevel& l) {
        if (o.csv)
            out << rotator::ScanCsvRow(l) << std::flush;
        else
            out << rotator::ScanLine(l, receiver->unit(), sep) << std::endl;
    };
    show.returning = [&](double startDeg) {
        err << "Turning back to " << rotator::DegreesText(startDeg) << std::endl;
    };
    show.giveBackReceiver = [&] { return receiver->giveBack(); };
    LogBearingScan logged{UtcNow(), where.target.band, where.frequencyMHz, receiver->name(),
                          claimed.label, receiver->unit(), {}, {}};
    const rotator::ScanResult result =
        rotator::RunBearingScan(*claimed.rotator, o.bearings,
                                [&](std::stop_token stop) { return receiver->read(stop); }, show,
                                signals.token(), signals.hurryToken());

    if (result.estimate) (o.csv ? err : out) << BearingSummary(*result.estimate) << std::endl;
    bool kept = true;
    if (log && !result.levels.empty()) {
        logged.levels = result.levels;
        logged.estimate = result.estimate;
        try {
            AddBearingScan(*log, logged);
        } catch (const LogError& e) {
            err << "The scan was not logged: " << e.what() << '\n';
            kept = false;
        }
    }
    if (!result.failure.empty()) err << result.failure << '\n';
    if (result.cancelled)
        err << "Cancelled after " << result.levels.size() << " of " << o.bearings.size()
            << " bearings\n";
    if (!result.receiverFailure.empty())
        err << "The receiver's tuning could not be restored: " << result.receiverFailure << '\n';
    if (!result.returnFailure.empty())
        err << "The rotator is not back: " << result.returnFailure << '\n';
    const bool back = result.receiverFailure.empty() && result.returnFailure.empty();
    return result.complete() && back && kept ? ExitOk : ExitRefused;
}

}  // namespace

int CmdBearing(ArgList& args, std::ostream& out, std::ostream& err) {
    const auto sub = args.takePositional();
    if (sub != "scan") throw UsageError("bearing needs scan");
    try {
        const ScanOptions options = TakeScanOptions(args, SystemDecimalSeparator());
        return RunScan(options, out, err);
    } catch (const UsageError&) {
        throw;
    } catch (const Refusal&) {
        throw;
    } catch (const std::invalid_argument& e) {
        // A refused band, frequency or setting; the rotator's, rig's or SDR's own failures.
        throw Refusal(e.what());
    } catch (const std::runtime_error& e) {
        throw Refusal(e.what());
    } catch (const rig::Cancelled&) {
        throw Refusal("Cancelled before the scan began");
    }
}

}  // namespace fw::cli
