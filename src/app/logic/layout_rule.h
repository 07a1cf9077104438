#pragma once
// The layout rule of the main window: from its outer size to the rectangles it moves.
#include <algorithm>

#include "app/logic/design_layout.h"

namespace fw {

inline constexpr Size MinWindowSize{750, 400};

struct MainLayout {
    Size window;                    // outer size, at least MinWindowSize
    Rect panel1;                    // in the client area
    Rect gbDia;                     // in the client area
    Rect imPlot;                    // in GBDia
    Rect gbud;                      // in Panel1
    Rect lbUserData;                // in GBUD
    Rect panDebug;                  // in GBUD; never moves
    int panDebugVisibleHeight = 0;  // rows of the diagnostic panel inside GBUD
};

// Layout for a window whose outer size has become width x height.
MainLayout FormResizeLayout(Size outer);

// How much of the diagnostic panel's height lies inside a "USER Data" group of this height.
int DebugPanelVisibleHeight(int gbudHeight);

// Client area size for an outer size, and back.
constexpr Size ClientSizeOf(Size outer) {
    return {outer.width - design::Chrome.width, outer.height - design::Chrome.height};
}
constexpr Size OuterSizeOf(Size client) {
    return {client.width + design::Chrome.width, client.height + design::Chrome.height};
}

// An outer size shrunk to fit a screen's available `area`, but never below MinWindowSize.
constexpr Size FitIntoArea(Size outer, Size area) {
    return {std::max(MinWindowSize.width, std::min(outer.width, area.width)),
            std::max(MinWindowSize.height, std::min(outer.height, area.height))};
}

}  // namespace fw
