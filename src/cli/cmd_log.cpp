#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "cli/log_options.h"
#include "libs/atomic_file.h"
#include "libs/regional.h"
#include "libs/startup_values.h"
#include "measure/user_data_file.h"
#include "stationlog/log_export.h"
#include "stationlog/log_to_list.h"

namespace fw::cli {

namespace {

// Writing the export over the log itself would replace the log with its own export.
void RefuseTheLogItself(const std::string& target, const std::string& logPath, const char* option) {
    std::error_code ec;
    if (std::filesystem::equivalent(target, logPath, ec))
        throw Refusal(std::string(option) + " must not name the station log itself");
}

// The whole export handed to `sink`; a Refusal when the log cannot be read.
bool Export(StationLog& log, const LogSpan& span, const std::string& format, const TextSink& sink) {
    try {
        if (format == "csv") return WriteReadingsCsv(log, span, sink);
        return sink(DatabankText(QueryDatabank(log, span)));
    } catch (const LogError& e) {
        throw Refusal(e.what());
    }
}

int LogExport(ArgList& args, std::ostream& out) {
    const std::string path = TakeLogOption(args);
    const auto format = args.takeOption("--format");
    const auto output = args.takeOption("--output");
    const LogSpan span = TakeSpanOptions(args);
    args.expectEmpty();
    if (!format) throw UsageError("log export needs --format csv or --format databank");
    if (*format != "csv" && *format != "databank")
        throw UsageError("--format must be csv or databank");

    StationLog log = OpenLogForReading(path);
    if (output) RefuseTheLogItself(*output, path, "--output");
    if (!output) {
        Export(log, span, *format, [&](std::string_view piece) {
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
            return static_cast<bool>(out);
        });
        if (!out) throw Refusal("The export could not be written to standard output");
        return ExitOk;
    }
    // Written whole or not at all: a failed export leaves any previous file as it was.
    const std::string error = WriteFileAtomically(*output, [&](std::FILE* f) {
        return Export(log, span, *format, [f](std::string_view piece) {
            return std::fwrite(piece.data(), 1, piece.size(), f) == piece.size();
        });
    });
    if (!error.empty()) throw Refusal(*output + ": " + error);
    return ExitOk;
}

int LogToList(ArgList& args, std::ostream& out) {
    const char sep = SystemDecimalSeparator();
    const std::string path = TakeLogOption(args);
    const auto save = args.takeOption("--save");
    const LogSpan span = TakeSpanOptions(args);
    args.expectEmpty();
    if (!save) throw UsageError("log to-list needs --save USERFILE");

    StationLog log = OpenLogForReading(path);
    RefuseTheLogItself(*save, path, "--save");
    LoggedList logged;
    try {
        logged = QueryLoggedList(log, span);
    } catch (const LogError& e) {
        throw Refusal(e.what());
    }
    if (logged.readings == 0) throw Refusal("No readings in the station log for that span");
    const std::string locator =
        logged.locator.empty() ? std::string(NoLocatorText) : logged.locator;
    // Saved as "Save USER Data" saves: whole or not at all.
    const std::string error =
        WriteFileAtomically(*save, UserDataFileText(locator, logged.dateTime, logged.list, sep));
    if (!error.empty()) throw Refusal(*save + ": " + error);
    for (const std::string& line : UserListLines(logged.list, sep)) out << line << '\n';
    return ExitOk;
}

}  // namespace

int CmdLog(ArgList& args, std::ostream& out, std::ostream& /*err*/) {
    // The sub-command word is the first positional argument; option values never count.
    const auto sub = args.takePositional();
    if (sub == "export") return LogExport(args, out);
    if (sub == "to-list") return LogToList(args, out);
    throw UsageError("log needs export or to-list");
}

}  // namespace fw::cli
