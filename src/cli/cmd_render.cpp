#include <ostream>

#include "cli/commands.h"
#include "output/picture_files.h"
#include "libs/regional.h"
#include "cli/render_options.h"

namespace fw::cli {

int CmdRender(ArgList& args, std::ostream& out, std::ostream& err) {
    const RenderOptions o = TakeRenderOptions(args);
    const auto output = args.takeOption("--output");
    args.expectEmpty();
    if (!output) throw UsageError("render needs --output FILE");

    const auto source = BuildDiagramSource(o, SystemDecimalSeparator());
    if (!source->atmosphericNote.empty()) err << source->atmosphericNote << '\n';
    const PictureSaveResult saved = SavePictureToFile(renderDiagram(source->inputs), *output);
    if (!saved.saved()) throw Refusal(saved.message);
    out << *output << '\n';
    return ExitOk;
}

}  // namespace fw::cli
