#pragma once
// The spectrum of an SDR noise measurement as a picture: the averaged density of the used
// bins over the receiver's whole span, the estimated noise density N0 as a line, and the
// used span marked. Built first as a plain description in pixels, which is then drawn on
// any diagram canvas; the window and the command line draw the same picture.
#include <string>
#include <vector>

#include "diagram/canvas.h"
#include "diagram/picture.h"
#include "logviews/view_frame.h"
#include "noisefloor/noise_floor.h"
#include "sdr/noise_reading.h"

namespace fw {

inline constexpr std::string_view DensityUnitLabel = "dBFS/Hz";

struct SpectrumViewInputs {
    int width = 800;
    int height = 500;
    std::string title;
    double centreHz = 0;
    double spanHz = 0;  // the sample rate: the frequency axis is centre +- span / 2
    std::vector<SpectrumBin> bins;  // the used bins in frequency order
    double noiseDensityDbfsPerHz = 0;
    std::string noiseText;  // "N0 -152.31 dBFS/Hz"
    std::string note;       // "K 61, N 32768, 26206 bins, occupancy 3.2 %"
    // The noise's signature beside N0: its summary and the time above N0, or why there is
    // none; the comb's lines, marked where they stand.
    std::string signatureText;
    std::string apdText;
    std::vector<double> combLinesHz;
    char sep = '.';         // decimal separator of the frequency marks
};

// The inputs of one reading; its span is the FFT length times the bins' spacing, the rate.
SpectrumViewInputs SpectrumViewOf(const receiver::Reading& reading, char sep);

struct FrequencyTick {
    int x = 0;
    std::string text;  // MHz
};

// What the picture shows, in pixels of a width x height picture.
struct SpectrumDrawing {
    ViewFrame frame;
    LevelRange levels;
    std::string title;
    // The density: per pixel column the extremes of its bins, joined to the neighbouring
    // columns; no join across a gap in the bins (around the centre).
    std::vector<LineSegment> trace;
    int noiseY = 0;
    int usedLeft = 0;  // the used span's first and last bin
    int usedRight = 0;
    std::vector<FrequencyTick> ticks;
    std::vector<LineSegment> combMarks;  // a short mark above each of the comb's lines
    std::vector<LegendRow> legend;
    std::string note;  // below the frequency axis
};

SpectrumDrawing DescribeSpectrum(const SpectrumViewInputs& in);
void DrawSpectrum(DiagramCanvas& canvas, const SpectrumDrawing& d);

}  // namespace fw
