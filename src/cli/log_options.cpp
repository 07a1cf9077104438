#include "cli/log_options.h"

#include <ostream>

#include "stationlog/log_path.h"
#include "stationlog/utc_text.h"

namespace fw::cli {

namespace {

std::optional<UtcSeconds> TakeTime(ArgList& args, const std::string& name) {
    const auto text = args.takeOption(name);
    if (!text) return std::nullopt;
    const auto t = ParseUtcTime(*text);
    if (!t)
        throw Refusal(name + " must be a UTC time written YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SSZ!");
    return t;
}

}  // namespace

std::string TakeLogOption(ArgList& args) {
    if (auto path = args.takeOption("--log")) {
        if (path->empty()) throw Refusal("--log needs the name of a file");
        return *path;
    }
    std::string path = DefaultStationLogPath();
    if (path.empty())
        throw Refusal(
            "No folder for the station log: give --log FILE (neither XDG_DATA_HOME "
            "nor HOME is set)");
    return path;
}

LogSpan TakeSpanOptions(ArgList& args) {
    LogSpan span{TakeTime(args, "--from"), TakeTime(args, "--to")};
    if (span.from && span.to && *span.from >= *span.to)
        throw Refusal("--from must lie before --to!");
    return span;
}

StationLog OpenLogForWriting(const std::string& path) {
    try {
        return StationLog::OpenCreatingFolder(path);
    } catch (const LogError& e) {
        throw Refusal(e.what());
    }
}

void ReportDamagedReadings(StationLog& log, std::ostream& err) {
    const DamagedEntries d = DamagedEntriesIn(log);
    if (d.readingTimes > 0)
        err << d.readingTimes << " damaged reading(s) skipped: their time lies outside the "
                                 "years 1970 to 9999.\n";
    if (d.readingLevels > 0)
        err << d.readingLevels << " damaged reading(s) skipped: a level is not a finite number, "
                                  "or the frequency or bandwidth is not above 0.\n";
    if (d.gapTimes > 0)
        err << d.gapTimes << " damaged gap(s) skipped: their time lies outside the years 1970 "
                             "to 9999.\n";
}

LogWaiting LogWaitNotice(std::ostream& err, std::stop_token stop) {
    return {[&err] { err << LogWaitingText << std::endl; }, std::move(stop)};
}

StationLog OpenLogForReading(const std::string& path, LogWaiting waiting) {
    try {
        return StationLog::Open(path, StationLog::OpenMode::ReadOnly, std::move(waiting));
    } catch (const LogError& e) {
        throw Refusal(e.what());
    }
}

}  // namespace fw::cli
