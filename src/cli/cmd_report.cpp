#include <ostream>

#include "cli/commands.h"
#include "cli/gui_session.h"
#include "cli/render_options.h"
#include "info/identity.h"
#include "libs/regional.h"
#include "output/qt/qimage_picture.h"
#include "output/report_page.h"
#include "output/qt/report_render.h"

namespace fw::cli {

int CmdReport(ArgList& args, std::ostream& out, std::ostream& err) {
    const RenderOptions o = TakeRenderOptions(args);
    const auto pdf = args.takeOption("--pdf");
    const auto printerName = args.takeOption("--printer");
    args.expectEmpty();
    if (pdf.has_value() == printerName.has_value())
        throw UsageError("report needs either --pdf OUT or --printer NAME");

    const char sep = SystemDecimalSeparator();
    const auto source = BuildDiagramSource(o, sep);
    if (!source->atmosphericNote.empty()) err << source->atmosphericNote << '\n';
    GuiSession session;
    const QImage picture = PictureToQImage(renderDiagram(source->inputs));
    const NoiseReportTexts texts =
        SystemReportTexts(std::string(ProgramVersionText), std::string(ProgramCopyrightText));
    const ReportDocument report =
        BuildNoiseReport(picture.width(), picture.height(), source->list, texts, ReportTextWidthMm);

    if (pdf) {
        const std::string error = WriteReportPdf(report, picture, *pdf);
        if (!error.empty()) throw Refusal(error);
        out << *pdf << '\n';
        return ExitOk;
    }
    // Every page once; a missing printer or a refusing server is named in the error.
    const ReportPrintJob job{*printerName, 1, 1, static_cast<int>(report.pages.size())};
    const std::string error = PrintReport(report, picture, job);
    if (!error.empty()) throw Refusal(error);
    out << "printed on " << *printerName << '\n';
    return ExitOk;
}

}  // namespace fw::cli
