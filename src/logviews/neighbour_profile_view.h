#pragma once
// A station's 24-hour profile of Fa beside its neighbours' on the network's server: one
// value per UTC hour of the day for each, as lines of their own colours, the hours where the
// station stands out shaded, and a legend line for each side.
#include <array>
#include <string>

#include "diagram/canvas.h"
#include "logviews/view_frame.h"

namespace fw {

struct NeighbourProfileInputs {
    int width = 800;
    int height = 500;
    std::string title;          // e.g. "DL1ABC and its neighbours, 40m"
    std::string ownText;        // the legend's texts
    std::string neighboursText;
    std::array<double, 24> own;         // Fa in dB by UTC hour; NaN where there is none
    std::array<double, 24> neighbours;  // likewise
    double standOutDb = 3;  // a difference that shades its hour
};

inline constexpr Rgb OwnProfileColour = RgbHex(0xC0392B);
inline constexpr Rgb NeighbourProfileColour = RgbHex(0x1F4E9C);
inline constexpr Rgb StandOutShade = RgbHex(0xFBE3DF);

// The view's frame: the plot raised by two legend lines.
ViewFrame NeighbourProfileFrame(int width, int height);

void DrawNeighbourProfiles(DiagramCanvas& canvas, const NeighbourProfileInputs& in);

}  // namespace fw
