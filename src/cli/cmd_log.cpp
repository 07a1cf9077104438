#include <ostream>

#include "cli/commands.h"
#include "cli/log_options.h"
#include "libs/atomic_file.h"
#include "libs/regional.h"
#include "measure/user_data_file.h"
#include "rig/plan_limits.h"
#include "rig/rig_error.h"
#include "stationlog/log_export.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_summary.h"
#include "stationlog/log_to_list.h"

namespace fw::cli {

namespace {

void RefuseTheLogItself(const std::string& target, const std::string& logPath, const char* option) {
    if (IsLogFile(target, logPath))
        throw Refusal(std::string(option) + " must not name the station log itself");
}

std::optional<LogExportFormat> ExportFormatNamed(const std::string& name) {
    if (name == "csv") return LogExportFormat::Csv;
    if (name == "databank") return LogExportFormat::Databank;
    if (name == "gaps") return LogExportFormat::Gaps;
    return std::nullopt;
}

int LogExport(ArgList& args, std::ostream& out, std::ostream& err) {
    const std::string path = TakeLogOption(args);
    const auto format = args.takeOption("--format");
    const auto output = args.takeOption("--output");
    const LogSpan span = TakeSpanOptions(args);
    args.expectEmpty();
    if (!format) throw UsageError("log export needs --format csv, databank or gaps");
    const std::optional<LogExportFormat> exportFormat = ExportFormatNamed(*format);
    if (!exportFormat) throw UsageError("--format must be csv, databank or gaps");
    StationLog log = OpenLogForReading(path);
    ReadOrRefuse([&] { ReportDamagedReadings(log, err); });
    if (!output) {
        ReadOrRefuse([&] {
            return WriteLogExport(log, span, *exportFormat, [&](std::string_view piece) {
                out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
                return static_cast<bool>(out);
            });
        });
        if (!out) throw Refusal("The export could not be written to standard output");
        return ExitOk;
    }
    RefuseTheLogItself(*output, path, "--output");
    const std::string error =
        ReadOrRefuse([&] { return WriteLogExportFile(log, span, *exportFormat, *output); });
    if (!error.empty()) throw Refusal(error);
    return ExitOk;
}

int LogToList(ArgList& args, std::ostream& out, std::ostream& err) {
    const char sep = SystemDecimalSeparator();
    const std::string path = TakeLogOption(args);
    const auto save = args.takeOption("--save");
    std::optional<double> bandwidthHz;
    if (const auto b = args.takeOption("--bandwidth")) {
        // The limits every other --bandwidth and the window's bandwidth box hold to.
        try {
            bandwidthHz = rig::CheckedBandwidthHz(*b, sep);
        } catch (const rig::ReadingInputError& e) {
            throw Refusal(e.what());
        }
    }
    const LogSpan span = TakeSpanOptions(args);
    args.expectEmpty();
    if (!save) throw UsageError("log to-list needs --save USERFILE");

    StationLog log = OpenLogForReading(path);
    RefuseTheLogItself(*save, path, "--save");
    ReadOrRefuse([&] { ReportDamagedReadings(log, err); });
    const LoggedList logged =
        ReadOrRefuse([&] { return QueryLoggedList(log, span, bandwidthHz); });
    if (logged.readings == 0) {
        const bool none = ReadOrRefuse([&] { return ExtentOf(log).readings == 0; });
        throw Refusal(none ? "station log " + path + ": " + NoReadingsYetText
                           : std::string(NoReadingsInSpanText));
    }
    const std::string locator = ListLocator(logged);
    // Saved as "Save USER Data" saves: whole or not at all.
    const std::string error =
        WriteFileAtomically(*save, UserDataFileText(locator, logged.dateTime, logged.list, sep));
    if (!error.empty()) throw Refusal(*save + ": " + error);
    for (const std::string& line : UserListLines(logged.list, sep)) out << line << '\n';
    return ExitOk;
}

int LogInfo(ArgList& args, std::ostream& out, std::ostream& err) {
    const std::string path = TakeLogOption(args);
    const LogSpan span = TakeSpanOptions(args);
    args.expectEmpty();
    StationLog log = OpenLogForReading(path);
    ReadOrRefuse([&] { ReportDamagedReadings(log, err); });
    const LogSummary summary = ReadOrRefuse([&] { return SummarizeLog(log, span); });
    for (const std::string& line : LogSummaryLines(summary)) out << line << '\n';
    return ExitOk;
}

}  // namespace

int CmdLog(ArgList& args, std::ostream& out, std::ostream& err) {
    // The sub-command word is the first positional argument; option values never count.
    const auto sub = args.takePositional();
    if (sub == "export") return LogExport(args, out, err);
    if (sub == "to-list") return LogToList(args, out, err);
    if (sub == "compare") return CmdLogCompare(args, out, err);
    if (sub == "report") return CmdLogReport(args, out, err);
    if (sub == "info") return LogInfo(args, out, err);
    if (sub == "station") return CmdLogStation(args, out, err);
    throw UsageError("log needs export, to-list, compare, report, info or station");
}

}  // namespace fw::cli
