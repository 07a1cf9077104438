#include <ostream>
#include <stop_token>

#include "cli/commands.h"
#include "cli/reading_plan_options.h"
#include "cli/receiver_command.h"
#include "cli/rig_options.h"
#include "libs/regional.h"
#include "rig/rig_error.h"
#include "rig/rig_lock.h"
#include "rig/rig_models.h"
#include "rig/rig_receiver.h"

namespace fw::cli {

namespace {

ReceiverCommand TakeRigCommand(bool sweep, ArgList& args) {
    const rig::RigConnection connection = TakeRigOptions(args);
    ReceiverCommand c;
    c.name = "rig";
    c.sweep = sweep;
    c.band = args.takeOption("--band");
    c.freq = args.takeNumberOption("--freq", SystemDecimalSeparator());
    c.bands = args.takeOption("--bands");
    c.appendTo = args.takeOption("--append");
    const rig::SweepPlan plan = TakeReadingPlanOptions(args, SystemDecimalSeparator());
    c.reading = plan.reading;
    c.take = [connection, plan](const std::string& user, std::stop_token stop,
                                std::stop_token hurry) {
        receiver::ReceiverLock lock = rig::LockRig(connection, user);
        auto rig = std::make_unique<rig::RigReceiver>(connection, plan, SystemDecimalSeparator(),
                                                      std::move(stop), std::move(hurry));
        rig::RigReceiver* here = rig.get();
        return TakenReceiver{std::move(lock), std::move(rig), [here](std::stop_token at) {
                                 return here->readHere(std::move(at));
                             }};
    };
    c.readsHere = true;
    c.readFailure = [](const std::string& where, const std::string& reason) {
        return rig::ReadingFailureText(where, reason);
    };
    return c;
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
        const ReceiverCommand command = TakeRigCommand(sub == "sweep", args);
        args.expectEmpty();
        return RunReceiverCommand(command, out, err);
    } catch (const rig::ReadingInputError& e) {
        throw Refusal(e.what());
    } catch (const rig::RigSettingsError& e) {
        throw Refusal(e.what());
    } catch (const receiver::ReceiverError& e) {
        throw Refusal(e.what());
    } catch (const receiver::Cancelled&) {
        throw Refusal("Cancelled");
    }
}

}  // namespace fw::cli
