#include <ostream>

#include "cli/commands.h"
#include "cli/log_options.h"
#include "stationlog/station_details.h"

namespace fw::cli {

int CmdLogStation(ArgList& args, std::ostream& out, std::ostream&) {
    const std::string path = TakeLogOption(args);
    StationDetailsChange change;
    bool changes = false;
    for (const StationField f : AllStationFields) {
        auto value = args.takeOption("--" + std::string(StationFieldKey(f)));
        if (!value) continue;
        if (const auto problem = StationFieldProblem(f, *value)) throw Refusal(*problem);
        change.values[static_cast<std::size_t>(f)] = std::move(value);
        changes = true;
    }
    args.expectEmpty();
    // Without options the details are only read: the log is opened read-only, never brought
    // up to date or created.
    StationLog log = changes ? OpenLogForWriting(path) : OpenLogForReading(path);
    if (changes) ReadOrRefuse([&] { WriteStationDetails(log, change); });
    const StationDetails details = ReadOrRefuse([&] { return ReadStationDetails(log); });
    if (details.empty()) out << "no station details in " << path << '\n';
    for (const std::string& line : StationDetailsLines(details)) out << line << '\n';
    return ExitOk;
}

}  // namespace fw::cli
