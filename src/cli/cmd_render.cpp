#include <ostream>

#include "commands.h"
#include "noise_model.h"
#include "picture_files.h"
#include "render.h"
#include "render_options.h"

namespace fw::cli {

int CmdRender(ArgList& args, std::ostream& out, std::ostream& /*err*/) {
    const RenderOptions o = TakeRenderOptions(args);
    const auto output = args.takeOption("--output");
    args.expectEmpty();
    if (!output) throw UsageError("render needs --output FILE");

    const ReferenceCurves curves = computeReferenceCurves(o.bandwidthHz);
    DiagramInputs in;
    in.width = o.width;
    in.height = o.height;
    in.curves = &curves;
    in.bandwidthCorrection = o.correction;
    in.yPos = o.yPos;
    in.yWidth = o.yWidth;
    if (o.locator) in.locator = *o.locator;
    if (o.dateTime) in.measDateTime = *o.dateTime;

    const PictureSaveResult saved = SavePictureToFile(renderDiagram(in), *output);
    if (!saved.saved()) throw Refusal(saved.message);
    out << *output << '\n';
    return ExitOk;
}

}  // namespace fw::cli
