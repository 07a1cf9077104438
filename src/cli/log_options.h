#pragma once
// The station-log options shared by `monitor` and `log`.
#include <iosfwd>
#include <string>

#include "cli/cli_args.h"
#include "stationlog/log_queries.h"
#include "stationlog/station_log.h"

namespace fw::cli {

// --log FILE, or the default log in the user's data folder; a Refusal where there is none
// (neither XDG_DATA_HOME nor HOME set).
std::string TakeLogOption(ArgList& args);

// --from T and --to T as UTC "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SSZ": readings from T
// on, and before T. A text of another form, or --from not before --to, is a Refusal.
LogSpan TakeSpanOptions(ArgList& args);

// The log for monitoring: created with its folder where missing. Refusal on a failure.
StationLog OpenLogForWriting(const std::string& path);
// The log for exports: it must exist. Refusal on a failure.
StationLog OpenLogForReading(const std::string& path, LogWaiting waiting = {});
// Writes LogWaitingText to `err` while another program holds the log; `stop` ends the wait.
LogWaiting LogWaitNotice(std::ostream& err, std::stop_token stop);

// The result of reading the log, or a Refusal when it cannot be read.
template <typename Read>
auto ReadOrRefuse(Read read) {
    try {
        return read();
    } catch (const LogError& e) {
        throw Refusal(e.what());
    }
}

// Readings with a time outside the calendar or a damaged level, and gaps with such a time,
// are damaged: the queries leave them out, and the user learns how many of each on `err`.
// Throws LogError when the log cannot be read.
void ReportDamagedReadings(StationLog& log, std::ostream& err);

inline constexpr const char* LogOptionsHelp =
    "  --log FILE         the station log (default $XDG_DATA_HOME/Floorwatch/station-log.sqlite,\n"
    "                     that is ~/.local/share/Floorwatch/station-log.sqlite)\n"
    "  --from T, --to T   only readings from UTC time T on, and before T; T is\n"
    "                     YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SSZ\n";

}  // namespace fw::cli
