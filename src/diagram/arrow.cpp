#include <cmath>
#include <numbers>

#include "diagram/canvas.h"
#include "libs/fw_math.h"

namespace fw {

void DrawArrow(DiagramCanvas& canvas, int x1, int y1, int x2, int y2, Rgb colour, int head) {
    canvas.DrawLine(x1, y1, x2, y2, colour);

    const double len = std::sqrt(static_cast<double>(x1 - x2) * (x1 - x2) +
                                 static_cast<double>(y1 - y2) * (y1 - y2));
    int h = head;
    if (head < 0)
        h = RoundPx(std::abs(head) / 100.0 * len);
    else if (head == 0)
        h = RoundPx(0.15 * len);

    // Direction in whole degrees, counter-clockwise on the screen (y grows downward).
    const double dx = x2 - x1, dy = y1 - y2;
    const double signDy = dy >= 0 ? 1.0 : -1.0;
    constexpr double degPerRad = 180.0 / std::numbers::pi;
    double deg = 0;
    if (dx > 0)
        deg = std::atan(dy / dx) * degPerRad;
    else if (dx < 0)
        deg = std::atan(dy / dx) * degPerRad + 180.0 * signDy;
    else
        deg = 90.0 * signDy;
    const int a = RoundPx(deg);

    for (const int side : {-30, 30}) {
        const double rad = (a + side) / degPerRad;
        canvas.DrawLine(x2, y2, RoundPx(x2 - h * std::cos(rad)), RoundPx(y2 + h * std::sin(rad)),
                        colour);
    }
}

}  // namespace fw
