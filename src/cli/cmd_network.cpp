#include <ostream>

#include "cli/commands.h"
#include "cli/log_options.h"
#include "cli/network_options.h"
#include "measure/maidenhead.h"
#include "network/log_upload.h"
#include "network/server_schema.h"
#include "network/stations.h"
#include "stationlog/log_identity.h"

namespace fw::cli {

namespace {

int NetworkInit(ArgList& args, std::ostream& out) {
    const std::string server = TakeServerOption(args);
    args.expectEmpty();
    const int version = OnServer([&] {
        PgConnection conn(server);
        return InitServerSchema(conn);
    });
    out << "network schema version " << version << '\n';
    return ExitOk;
}

int NetworkAddStation(ArgList& args, std::ostream& out) {
    const std::string server = TakeServerOption(args);
    const auto [locator, role] = args.takeOptions("--locator", "--role");
    const auto call = args.takePositional();
    args.expectEmpty();
    if (!call) throw UsageError("network add-station needs a CALLSIGN");
    if (!locator) throw UsageError("network add-station needs --locator LOC");
    NewStation station{CheckedCallsign(*call), {}, role.value_or("")};
    const Outcome<LocatorSquare> square = ParseMaidenhead(*locator);
    if (!square.ok()) throw Refusal(square.reason());
    station.locator = square.value();
    if (role && !IsRoleName(*role))
        throw Refusal("--role " + *role + " is not a role name: lower-case letters, digits and _");
    OnServer([&] {
        PgConnection conn(server);
        AddStation(conn, station);
        return 0;
    });
    out << "station " << station.callsign << " (" << station.locator.text << ") added\n";
    return ExitOk;
}

int NetworkStations(ArgList& args, std::ostream& out) {
    const std::string server = TakeServerOption(args);
    const std::string format = TakeFormatOption(args);
    args.expectEmpty();
    const auto rows = OnServer([&] {
        PgConnection conn(server);
        return ListStations(conn);
    });
    out << (format == "csv" ? StationsCsv(rows) : StationsText(rows));
    return ExitOk;
}

int NetworkUpload(ArgList& args, std::ostream& out) {
    const std::string server = TakeServerOption(args);
    const auto [logOption, call, batch] = args.takeOptions("--log", "--station", "--batch");
    args.expectEmpty();
    if (!logOption) throw UsageError("network upload needs --log FILE");
    if (!call) throw UsageError("network upload needs --station CALLSIGN");
    UploadRequest request;
    request.callsign = CheckedCallsign(*call);
    if (batch) request.batch = ParseIntOption("--batch", *batch, 1, 1000000);
    // Only read: a failed upload leaves the log as it was.
    StationLog log = OpenLogForReading(*logOption);
    const UploadCounts counts = OnServer([&] {
        PgConnection conn(server);
        return ReadOrRefuse([&] { return UploadLog(conn, log, request); });
    });
    out << UploadCountsText(counts) << '\n';
    return ExitOk;
}

}  // namespace

int CmdNetwork(ArgList& args, std::ostream& out, std::ostream& err) {
    const auto sub = args.takePositional();
    if (!sub) throw UsageError("network needs init, add-station, stations, upload, compare or map");
    if (*sub == "init") return NetworkInit(args, out);
    if (*sub == "add-station") return NetworkAddStation(args, out);
    if (*sub == "stations") return NetworkStations(args, out);
    if (*sub == "upload") return NetworkUpload(args, out);
    if (*sub == "compare") return CmdNetworkCompare(args, out, err);
    if (*sub == "map") return CmdNetworkMap(args, out, err);
    throw UsageError("unknown network command: " + *sub);
}

}  // namespace fw::cli
