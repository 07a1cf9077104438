#include <ostream>

#include "cli/commands.h"
#include "cli/compare_options.h"
#include "cli/log_options.h"
#include "stats/comparison_text.h"
#include "stats/span_comparison.h"

namespace fw::cli {

int CmdLogCompare(ArgList& args, std::ostream& out, std::ostream& err) {
    const std::string path = TakeLogOption(args);
    const auto before = TakeSpanPair(args, "--before");
    const auto after = TakeSpanPair(args, "--after");
    const HourRange hours = TakeHourRange(args);
    std::vector<LogBand> bands = TakeBandList(args);
    const auto format = args.takeOption("--format").value_or("text");
    args.expectEmpty();
    if (!before || !after) throw UsageError("log compare needs --before T1/T2 and --after T3/T4");
    if (format != "text" && format != "csv") throw UsageError("--format must be text or csv");

    StationLog log = OpenLogForReading(path);
    ReadOrRefuse([&] { ReportDamagedReadings(log, err); });
    const ComparisonRequest request{*before, *after, hours, std::move(bands)};
    if (const auto refusal = ReadOrRefuse([&] { return ComparisonRefusal(log, request); }))
        throw Refusal("Cannot compare: " + *refusal);
    const std::vector<BandComparison> rows =
        ReadOrRefuse([&] { return QueryComparison(log, request); });
    out << (format == "csv" ? ComparisonCsv(rows) : ComparisonText(rows, hours));
    if (!out) throw Refusal("The comparison could not be written to standard output");
    return ExitOk;
}

}  // namespace fw::cli
