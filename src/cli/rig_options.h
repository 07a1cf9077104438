#pragma once
// The RIG options shared by the commands that talk to a rig.
#include "cli/cli_args.h"
#include "rig/rig_settings.h"

namespace fw::cli {

// --rigctld HOST:PORT, or --rig MODEL [--port DEVICE] [--speed BAUD]
// [--rig-conf KEY=VALUE[,KEY=VALUE...]]. Neither or both, or --port/--speed/--rig-conf
// without --rig, is a UsageError; an unreadable value is a Refusal.
rig::RigConnection TakeRigOptions(ArgList& args);

inline constexpr const char* RigOptionsHelp =
    "  --rigctld HOST:PORT  a running rigctld (Hamlib's network daemon), e.g. localhost:4532\n"
    "  --rig MODEL          a Hamlib rig model number (see \"rig models\"), driven directly\n"
    "  --port DEVICE        with --rig: the serial device or address, e.g. /dev/ttyUSB0\n"
    "  --speed BAUD         with --rig: the serial speed\n"
    "  --rig-conf KEY=VALUE[,KEY=VALUE...]\n"
    "                       with --rig: Hamlib settings, e.g. static_data=1 for the dummy rig\n";

}  // namespace fw::cli
