#pragma once
// Keeps a window or dialog within the available area of its screen, at any scale factor.
#include <QSize>

class QWidget;

namespace fw {

// Room left around a window for the window manager's title bar and borders.
inline constexpr QSize WindowFrameRoom{16, 48};

// Sizes `window` (a top-level widget, not shown yet) to its size hint, but no larger than the
// available area of its screen less room for the window manager's frame, and places it over
// its parent, inside that area. Where even its smallest layout would not fit, its content
// moves into a scroll area first, so that every control keeps its size and stays reachable.
void FitIntoScreen(QWidget& window);

// Widens `window` so that the window manager shows its title whole beside the title bar's
// buttons, and its content at least `contentWidth` pixels wide.
void KeepTitleWhole(QWidget& window, int contentWidth = 0);

}  // namespace fw
