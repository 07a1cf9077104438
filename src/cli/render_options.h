#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_args.h"
#include "measure/meas_list.h"
#include "model/noise_model.h"
#include "diagram/render.h"

namespace fw::cli {

// The diagram settings the window takes from its controls, given as options:
// --bandwidth TEXT --ypos N --ywidth N --size WxH --no-correction --locator TEXT --datetime TEXT
struct RenderOptions {
    std::int32_t bandwidthHz = 2700;
    int yPos = -40;
    int yWidth = 60;
    int width = 537;
    int height = 497;
    bool correction = true;
    std::optional<std::string> locator;
    std::optional<std::string> dateTime;
    std::optional<std::string> dataFile;  // --data FILE: its rows become the dots
};

// A USER data file loaded as "Load USER Data" loads it; a failure throws Refusal with the
// program's messages.
struct LoadedData {
    MeasList list;
    std::string locator;
    std::string dateTime;
};
LoadedData LoadDataOption(const std::string& path, char decimalSeparator);

// Everything one rendering needs, owned together so the inputs' spans stay valid.
struct DiagramSource {
    ReferenceCurves curves;
    MeasList list;
    DiagramInputs inputs;
};

// Computes the curves, loads the --data file and fills the renderer's inputs; the
// --locator and --datetime options win over the file's texts.
std::unique_ptr<DiagramSource> BuildDiagramSource(const RenderOptions& options,
                                                  char decimalSeparator);

// Takes the render options out of `args`; a refused value throws Refusal.
RenderOptions TakeRenderOptions(ArgList& args);

// The bandwidth text read as the window's bandwidth box reads it.
std::int32_t ParseBandwidthText(const std::string& text);

inline constexpr const char* RenderOptionsHelp =
    "  --bandwidth TEXT   receiver bandwidth in Hz as typed in the bandwidth box (default 2700)\n"
    "  --ypos N           lower end of the level axis, -100 to 80 (default -40)\n"
    "  --ywidth N         span of the level axis, 10 to 200 (default 60)\n"
    "  --size WxH         picture size in pixels (default 537x497, the window's picture area)\n"
    "  --no-correction    draw measurements without correcting them to the bandwidth\n"
    "  --locator TEXT     station locator (default NoLoc.)\n"
    "  --datetime TEXT    measurement date and time (default NoDateTime)\n"
    "  --data FILE        a USER data file: its rows become the dots, its locator and date/time\n"
    "                     are used unless --locator or --datetime are given\n";

}  // namespace fw::cli
