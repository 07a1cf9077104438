#include <ostream>

#include "cli/commands.h"
#include "cli/receiver_command.h"
#include "cli/sdr_options.h"
#include "cli/signal_stop.h"
#include "libs/regional.h"
#include "rig/rig_error.h"
#include "sdr/sdr_lock.h"
#include "sdr/sdr_open.h"
#include "sdr/sdr_receiver.h"

namespace fw::cli {

namespace {

int RunSdrReadings(bool sweep, ArgList& args, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    const auto settings = TakeSdrOptions(args, sep);
    if (!settings) throw UsageError(std::string("sdr ") + (sweep ? "sweep" : "read") + " needs --sdr ARGS");
    ReceiverCommand c;
    c.name = "sdr";
    c.sweep = sweep;
    c.freq = args.takeNumberOption("--freq", sep);
    c.band = args.takeOption("--band");
    c.bands = args.takeOption("--bands");
    c.appendTo = args.takeOption("--append");
    c.reading = TakeNoisePlan(args, sep);
    args.expectEmpty();
    // One user of the device at a time, taken before it is opened.
    c.take = [settings = *settings, plan = c.reading, sep](const std::string& user,
                                                          std::stop_token stop, std::stop_token) {
        sdr::ClaimedSdr claimed = sdr::ClaimSdr(settings, user, std::move(stop));
        return TakenReceiver{
            std::move(claimed.lock),
            std::make_unique<sdr::SdrReceiver>(std::move(claimed.settings), plan, sep), {}};
    };
    return RunReceiverCommand(c, out, err);
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
    } catch (const receiver::ReceiverError& e) {
        throw Refusal(e.what());
    } catch (const receiver::Cancelled&) {
        throw Refusal(sdr::StoppedWhileOpeningText);
    }
}

}  // namespace fw::cli
