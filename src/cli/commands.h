#pragma once
#include <iosfwd>

#include "cli/cli.h"
#include "cli/cli_args.h"

namespace fw::cli {

// Each command takes its arguments (after the command word) and returns the exit code;
// UsageError and Refusal propagate to RunCli.
int CmdCurves(ArgList& args, std::ostream& out, std::ostream& err);
int CmdNoise(ArgList& args, std::ostream& out, std::ostream& err);
int CmdRender(ArgList& args, std::ostream& out, std::ostream& err);
int CmdList(ArgList& args, std::ostream& out, std::ostream& err);
int CmdEnter(ArgList& args, std::ostream& out, std::ostream& err);
int CmdReport(ArgList& args, std::ostream& out, std::ostream& err);
int CmdRig(ArgList& args, std::ostream& out, std::ostream& err);
int CmdMonitor(ArgList& args, std::ostream& out, std::ostream& err);
int CmdLog(ArgList& args, std::ostream& out, std::ostream& err);
int CmdIq(ArgList& args, std::ostream& out, std::ostream& err);
int CmdSdr(ArgList& args, std::ostream& out, std::ostream& err);
int CmdNetwork(ArgList& args, std::ostream& out, std::ostream& err);
int CmdBearing(ArgList& args, std::ostream& out, std::ostream& err);
// The signature sub-commands of `iq` and `sdr`.
int RunIqSignature(ArgList& args, std::ostream& out, std::ostream& err);
int RunSdrSignature(ArgList& args, std::ostream& out, std::ostream& err);
// The sub-commands of `log` that have files of their own.
int CmdLogCompare(ArgList& args, std::ostream& out, std::ostream& err);
int CmdLogReport(ArgList& args, std::ostream& out, std::ostream& err);
// The questions of `network` that need many stations.
int CmdNetworkCompare(ArgList& args, std::ostream& out, std::ostream& err);
int CmdNetworkMap(ArgList& args, std::ostream& out, std::ostream& err);
// log station: the station's details kept in the log, set or shown.
int CmdLogStation(ArgList& args, std::ostream& out, std::ostream& err);

}  // namespace fw::cli
