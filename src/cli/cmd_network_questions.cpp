#include <algorithm>
#include <ostream>

#include "cli/commands.h"
#include "cli/compare_options.h"
#include "cli/network_options.h"
#include "libs/atomic_file.h"
#include "network/hourly_questions.h"
#include "network/square_map.h"
#include "network/stations.h"
#include "output/picture_files.h"
#include "stationlog/log_queries.h"
#include "stationlog/utc_text.h"

namespace fw::cli {

namespace {

// --band B (one band of the band table), --from T and --to T (both needed), --hours.
HourlyQuestion TakeQuestion(ArgList& args, const char* command) {
    const auto [band, from, to] = args.takeOptions("--band", "--from", "--to");
    if (!band || !from || !to)
        throw UsageError(std::string(command) + " needs --band B, --from T and --to T");
    const std::vector<LogBand> all = AllBands();
    const std::string& wanted = *band;
    if (std::none_of(all.begin(), all.end(), [&](const LogBand& b) { return b.band == wanted; }))
        throw Refusal("--band " + *band + " is not a band of the band table, such as 40m");
    HourlyQuestion q{*band, 0, 0, TakeHourRange(args)};
    const auto start = ParseUtcTime(*from), end = ParseUtcTime(*to);
    if (!start || !end) throw Refusal("--from and --to must be UTC times written YYYY-MM-DDTHH:MM");
    if (*start >= *end) throw Refusal("--from must lie before --to");
    q.from = *start;
    q.to = *end;
    return q;
}

}  // namespace

int CmdNetworkCompare(ArgList& args, std::ostream& out, std::ostream& /*err*/) {
    const std::string server = TakeServerOption(args);
    const auto [call, radius] = args.takeOptions("--station", "--radius");
    const HourlyQuestion question = TakeQuestion(args, "network compare");
    const std::string format = TakeFormatOption(args);
    args.expectEmpty();
    if (!call) throw UsageError("network compare needs --station CALLSIGN");
    const std::string callsign = CheckedCallsign(*call);
    const double radiusKm =
        radius ? ParseIntOption("--radius", *radius, 1, 20000) : DefaultNeighbourRadiusKm;
    const NeighbourComparison c = OnServer([&] {
        PgConnection conn(server);
        return CompareWithNeighbours(conn, callsign, question, radiusKm);
    });
    out << (format == "csv" ? NeighbourComparisonCsv(c) : NeighbourComparisonText(c));
    return ExitOk;
}

int CmdNetworkMap(ArgList& args, std::ostream& out, std::ostream& /*err*/) {
    const std::string server = TakeServerOption(args);
    const HourlyQuestion question = TakeQuestion(args, "network map");
    const auto [csv, png] = args.takeOptions("--csv", "--png");
    args.expectEmpty();
    if (!csv == !png) throw UsageError("network map needs either --csv FILE or --png FILE");
    const std::vector<SquareValue> squares = OnServer([&] {
        PgConnection conn(server);
        return NoiseBySquare(conn, question);
    });
    if (csv) {
        if (const std::string error = WriteFileAtomically(*csv, SquaresCsv(squares)); !error.empty())
            throw Refusal(SaveFailedText(*csv, error));
    } else {
        const std::string title = "Fa per locator square, " + question.band + ", " +
                                  UtcSpanText(question.from, question.to) +
                                  (question.hours.wholeDay() ? "" : ", " + HourRangeText(question.hours));
        const PictureSaveResult saved = SavePictureToFile(DrawSquareMap(squares, title), *png);
        if (!saved.saved()) throw Refusal(saved.message);
    }
    out << squares.size() << (squares.size() == 1 ? " square\n" : " squares\n");
    return ExitOk;
}

}  // namespace fw::cli
