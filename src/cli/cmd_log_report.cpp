#include <ostream>

#include "campaign/campaign_report.h"
#include "cli/commands.h"
#include "cli/compare_options.h"
#include "cli/gui_session.h"
#include "cli/log_options.h"
#include "cli/network_options.h"
#include "network/stations.h"
#include "stationlog/station_details.h"
#include "cli/place_time_options.h"
#include "cli/signal_stop.h"
#include "info/identity.h"
#include "output/qt/qimage_picture.h"
#include "output/qt/report_render.h"
#include "stationlog/log_export.h"
#include "stationlog/log_to_list.h"
#include "stats/span_comparison.h"

namespace fw::cli {

namespace {

constexpr const char* StoppedText = "Stopped: no report was written or printed";

// The station's callsign from the log's details, for the neighbours page.
std::string LogCallsign(StationLog& log) {
    const std::string kept = ReadStationDetails(log)[StationField::Callsign];
    if (const std::optional<std::string> call = ParseCallsign(kept)) return *call;
    throw Refusal(kept.empty() ? "--server needs --station CALLSIGN: the log keeps no callsign"
                               : "--server needs --station CALLSIGN: the log's callsign \"" + kept +
                                     "\" is not one");
}

}  // namespace

int CmdLogReport(ArgList& args, std::ostream& out, std::ostream& err) {
    const std::string path = TakeLogOption(args);
    CampaignRequest request;
    request.span = TakeSpanOptions(args);
    request.before = TakeSpanPair(args, "--before");
    request.after = TakeSpanPair(args, "--after");
    request.hours = TakeHourRange(args);
    const auto [server, station, radius] = args.takeOptions("--server", "--station", "--radius");
    const auto pdf = args.takeOption("--pdf");
    const auto printerName = args.takeOption("--printer");
    args.expectEmpty();
    if (pdf.has_value() == printerName.has_value())
        throw UsageError("log report needs either --pdf OUT or --printer NAME");
    if (request.before.has_value() != request.after.has_value())
        throw UsageError("log report needs both --before T1/T2 and --after T3/T4, or neither");
    if (const auto problem = CampaignRequestProblem(request)) throw Refusal(*problem);
    if ((station || radius) && !server) throw UsageError("--station and --radius go with --server");
    if (server) {
        if (const std::string reason = CheckConnInfo(*server); !reason.empty()) throw Refusal(reason);
        request.neighbours = CampaignNeighbours{*server, station ? CheckedCallsign(*station) : "",
                                                radius ? ParseIntOption("--radius", *radius, 1, 20000)
                                                       : DefaultNeighbourRadiusKm};
    }

    // Ctrl-C, SIGTERM and SIGHUP give the report up; taken before Qt starts its threads.
    SignalStop interrupt;
    StationLog log = OpenLogForReading(path, LogWaitNotice(err, interrupt.token()));
    if (pdf && IsLogFile(*pdf, path)) throw Refusal("--pdf must not name the station log itself");
    ReadOrRefuse([&] { ReportDamagedReadings(log, err); });
    if (request.neighbours && request.neighbours->callsign.empty())
        request.neighbours->callsign = ReadOrRefuse([&] { return LogCallsign(log); });
    if (request.before) {
        const ComparisonRequest compared{*request.before, *request.after, request.hours, {}};
        if (const auto refusal = ReadOrRefuse([&] { return ComparisonRefusal(log, compared); }))
            throw Refusal("Cannot compare: " + *refusal);
    }
    GuiSession session;
    const auto coefficients = ItuCoefficientsFor(std::nullopt);
    const NoiseReportTexts texts =
        SystemReportTexts(std::string(ProgramVersionText), std::string(ProgramCopyrightText));
    const CampaignBuild build = ReadOrRefuse([&] {
        return BuildCampaignReport(log, request, texts, ReportTextWidthMm, *coefficients,
                                   interrupt.token());
    });
    const auto stopped = [&] { return interrupt.token().stop_requested(); };
    if (stopped()) throw Refusal(StoppedText);
    if (!build.report) throw Refusal(build.reason);
    const std::optional<CampaignReport>& report = build.report;
    std::vector<QImage> pictures;
    for (const DiagramPicture& p : report->pictures) pictures.push_back(PictureToQImage(p));
    if (stopped()) throw Refusal(StoppedText);

    if (pdf) {
        // A stop while the pages are drawn writes nothing; once written, the report stands.
        const std::string error =
            WriteReportPdf(report->document, pictures, *pdf, interrupt.token());
        if (!error.empty()) throw Refusal(stopped() ? StoppedText : error);
        out << *pdf << '\n';
        return ExitOk;
    }
    const ReportPrintJob job{*printerName, 1, 1, static_cast<int>(report->document.pages.size())};
    const std::string error = PrintReportPictures(report->document, pictures, job);
    if (!error.empty()) throw Refusal(error);
    out << "printed on " << *printerName << '\n';
    return ExitOk;
}

}  // namespace fw::cli
