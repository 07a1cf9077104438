#include "cli/rig_options.h"

#include <limits>

#include "rig/rig_error.h"

namespace fw::cli {

rig::RigConnection TakeRigOptions(ArgList& args) {
    const auto rigctld = args.takeOption("--rigctld");
    const auto model = args.takeOption("--rig");
    const auto port = args.takeOption("--port");
    const auto speed = args.takeOption("--speed");
    const auto conf = args.takeOption("--rig-conf");
    if (rigctld && model) throw UsageError("give either --rigctld or --rig, not both");
    if (!rigctld && !model)
        throw UsageError("name the rig with --rigctld HOST:PORT or --rig MODEL");
    if (rigctld && (port || speed || conf))
        throw UsageError("--port, --speed and --rig-conf go with --rig");
    try {
        if (rigctld) return rig::RigConnection{rig::ParseRigctldAddress(*rigctld)};
        rig::DirectRig direct;
        const int most = std::numeric_limits<int>::max();
        direct.model = ParseIntOption("--rig", *model, 1, most);
        direct.port = port.value_or("");
        if (speed) direct.speed = ParseIntOption("--speed", *speed, 1, most);
        if (conf) direct.conf = rig::ParseConfPairs(*conf);
        return rig::RigConnection{direct};
    } catch (const rig::RigSettingsError& e) {
        throw Refusal(e.what());
    }
}

}  // namespace fw::cli
