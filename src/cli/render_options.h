#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_args.h"
#include "diagram/render.h"
#include "measure/meas_list.h"
#include "model/noise_model.h"

namespace fw::cli {

// The diagram settings the window takes from its controls, given as options:
// --bandwidth TEXT --ypos N --ywidth N --size WxH --no-correction --locator TEXT --datetime TEXT
// --deciles --atmospheric --itu-data DIR
struct RenderOptions {
    std::int32_t bandwidthHz = StartBandwidthHz;
    int yPos = StartYPos;
    int yWidth = StartYWidth;
    int width = StartPictureWidth;
    int height = StartPictureHeight;
    bool correction = true;
    std::optional<std::string> locator;
    std::optional<std::string> dateTime;
    std::optional<std::string> dataFile;  // --data FILE: its rows become the dots
    bool deciles = false;                 // the decile bands of the reference curves
    bool atmospheric = false;             // the atmospheric noise of the locator and time
    std::optional<std::string> ituData;   // folder of the coefficient files
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
    std::optional<AtmosphericLayer> atmospheric;
    // Why the atmospheric layer asked for is not drawn, and that its files were read
    // unchecked, a line each; empty when it is drawn from checked files.
    std::string atmosphericNote;
    DiagramInputs inputs;
};

// Computes the curves, loads the --data file and fills the renderer's inputs; the
// --locator and --datetime options win over the file's texts. The atmospheric layer is
// made from the locator and date/time texts as the window makes it; where it cannot be,
// the diagram is drawn without it and atmosphericNote says why.
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
    "                     are used unless --locator or --datetime are given\n"
    "  --deciles          draw the upper and lower deciles of the man-made and galactic curves\n"
    "  --atmospheric      draw the ITU-R P.372 atmospheric noise (0.1-30 MHz, with its deciles)\n"
    "                     for the locator's square and the date/time (local time, converted to\n"
    "                     UTC); where either does not parse or a coefficient file is missing,\n"
    "                     the diagram is drawn without it and standard error says why\n";

}  // namespace fw::cli
