#include "cli/network_options.h"

#include "network/stations.h"

namespace fw::cli {

std::string TakeServerOption(ArgList& args) {
    const auto server = args.takeOption("--server");
    if (!server) throw UsageError("network commands need --server CONNINFO");
    if (const std::string reason = CheckConnInfo(*server); !reason.empty()) throw Refusal(reason);
    return *server;
}

std::optional<UploadTarget> TakeUploadOptions(ArgList& args) {
    const auto [server, call] = args.takeOptions("--upload", "--station");
    if (!server && !call) return std::nullopt;
    if (!server || !call) throw UsageError("give --upload CONNINFO together with --station CALLSIGN");
    if (const std::string reason = CheckConnInfo(*server); !reason.empty()) throw Refusal(reason);
    return UploadTarget{*server, CheckedCallsign(*call), {}};
}

std::string TakeFormatOption(ArgList& args) {
    const std::string format = args.takeOption("--format").value_or("text");
    if (format != "text" && format != "csv") throw UsageError("--format must be text or csv");
    return format;
}

std::string CheckedCallsign(const std::string& text) {
    const auto call = ParseCallsign(text);
    if (!call) throw Refusal("\"" + text + "\" is not a callsign, such as DL1ABC");
    return *call;
}

}  // namespace fw::cli
