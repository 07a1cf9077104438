#pragma once
// A bearing scan as a polar plot: north up, bearings clockwise, each level's distance from
// the centre growing with the level over a range below the strongest; the estimate's
// strongest bearing as an arrow and its weakest as a dashed spoke, and the sentence that
// names them. Built first as a plain description in pixels, then drawn on any diagram
// canvas; the window draws it as the readings come in, the campaign report from the log.
#include <optional>
#include <string>
#include <vector>

#include "bearing/bearing_estimate.h"
#include "diagram/canvas.h"

namespace fw {

struct BearingPolarInputs {
    int width = 500;
    int height = 500;
    std::string title;  // "Bearing scan, 40m"
    std::vector<BearingLevel> levels;  // in scan order; may still be coming in
    std::optional<BearingEstimate> estimate;
    std::string unit;  // of the levels: "dBm", "dBuV"
};

struct PolarLabel {
    int x = 0;
    int y = 0;
    std::string text;
};

struct BearingPolarDrawing {
    int width = 0, height = 0;
    int centreX = 0, centreY = 0, radius = 0;
    std::string title;
    std::vector<LineSegment> rings;   // every ring's level below the strongest
    std::vector<LineSegment> spokes;  // every 30 degrees
    std::vector<PolarLabel> bearingLabels;  // "0°", "30°", ... outside the outer ring
    std::vector<PolarLabel> ringLabels;     // "0 dB", "-10 dB", ... along north
    std::vector<LineSegment> trace;  // the levels joined in scan order
    std::vector<DotCentre> dots;
    std::optional<LineSegment> strongest;  // centre to the rim
    std::vector<LineSegment> weakest;      // dashes from the centre to the rim
    std::string summary;  // the estimate's sentence, or how far the scan has come
};

// The radial range: the strongest level at the rim, rings every 5 dB (every 10 dB past a
// 20 dB spread) down to the weakest, at least 10 dB.
BearingPolarDrawing DescribeBearingPolar(const BearingPolarInputs& in);
void DrawBearingPolar(DiagramCanvas& canvas, const BearingPolarDrawing& d);

}  // namespace fw
