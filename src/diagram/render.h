#pragma once
// Draws the noise diagram: grid, band markers, labels, the five reference curves, the
// measurement dots, legend, unit label, locator line and title. Curves, layers and dots are
// clipped to the plot; a measurement off the level axis is marked by a triangle at the
// plot's upper or lower edge, pointing out of it.
#include <span>
#include <string>
#include <vector>

#include "diagram/canvas.h"
#include "diagram/picture.h"
#include "libs/startup_values.h"
#include "model/atmospheric_layer.h"
#include "model/noise_model.h"

namespace fw {

// Geometry of one rendering, computed once from the picture size.
struct PlotFrame {
    int left = 0;        // xL: x of the level axis
    int bottom = 0;      // yB: y of the frequency axis
    int plotWidth = 0;   // pw
    int plotHeight = 0;  // ph; the plot's top edge is at bottom - plotHeight
    int dotRadius = 0;   // curve dots; measurement dots use dotRadius + 1
    int mainFontSize = 0;
    int bandFontSize = 0;
    int titleFontSize = 0;
};

PlotFrame makePlotFrame(int width, int height);

// The values of the level lines from start to stop (inclusive when reached exactly).
// After a start nearer to zero than one step, the list continues at the step itself.
std::vector<double> LevelSteps(double start, double stop, double step);

// The measurement columns the diagram draws upon (frequency in MHz, field strength in
// dB(uV/m), bandwidth in Hz), all of equal length.
struct MeasDots {
    std::span<const double> freqMHz;
    std::span<const double> fieldDbuVm;
    std::span<const double> bandwidthHz;
};

struct DiagramInputs {
    int width = StartPictureWidth;
    int height = StartPictureHeight;
    const ReferenceCurves* curves = nullptr;
    bool bandwidthCorrection = true;
    MeasDots measurements;
    int yPos = StartYPos;
    int yWidth = StartYWidth;
    std::string locator{NoLocatorText};
    std::string measDateTime{NoDateTimeText};
    // Optional layers, both off by default: the upper and lower deciles of the man-made and
    // galactic curves, and the atmospheric noise computed beforehand (not owned).
    bool deciles = false;
    const AtmosphericLayer* atmospheric = nullptr;
};

// The font family name the diagram asks for; the raster canvas resolves it to Liberation Sans.
inline constexpr std::string_view DiagramFontFamily = "ftArial";
inline constexpr std::string_view DiagramTitle = "Exp. Man-Made Noise ITU-R P.372-12";
inline constexpr std::string_view UnitLabel = "E[dB(uV/m)]";

// Draws the whole diagram on `canvas`, beginning with ClearCanvas.
void drawDiagram(DiagramCanvas& canvas, const DiagramInputs& in);

// Draws the diagram on a new raster canvas of in.width x in.height and returns its picture.
DiagramPicture renderDiagram(const DiagramInputs& in);
// The same diagram for a screen of device pixel ratio `ratio`: a picture of in.width x
// in.height times the ratio, with every length scaled (see ScaledCanvas). A ratio of 1 is
// exactly renderDiagram.
DiagramPicture renderDiagramAt(const DiagramInputs& in, double ratio);

}  // namespace fw
