// Curves, layers and readings stay within the plot; a reading off the level axis is marked at
// the plot's edge.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "diagram/raster_canvas.h"
#include "diagram/render.h"
#include "libs/fw_math.h"
#include "model/noise_model.h"

namespace fw {
namespace {

constexpr Rgb White = RgbHex(0xFFFFFF);
constexpr Rgb Black = RgbHex(0x000000);
constexpr Rgb Red = RgbHex(0xFF0000);

TEST(RasterCanvas, ClipKeepsEveryMarkWithinItsRectangleUntilReset) {
    RasterCanvas c(20, 20);
    c.SetFont("ftArial", 12);
    c.SetClip(5, 5, 10, 10);
    c.DrawLine(0, 8, 20, 8, Red);
    c.DrawLine(8, 0, 8, 20, Red);
    c.DrawLine(0, 1, 19, 18, Red);
    c.DrawDot(5, 5, 3, Red);
    c.FillTriangle(12, 5, 8, true, Red);
    c.DrawText(-2, 12, "WWW", Red, Red);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (x < 5 || x >= 15 || y < 5 || y >= 15) {
                ASSERT_EQ(c.picture().pixel(x, y), White) << x << "," << y;
            }
    EXPECT_EQ(c.picture().pixel(5, 8), Red);
    EXPECT_EQ(c.picture().pixel(14, 8), Red);
    EXPECT_EQ(c.picture().pixel(8, 14), Red);
    EXPECT_EQ(c.picture().pixel(12, 5), Red);
    c.ResetClip();
    c.DrawLine(0, 0, 3, 0, Red);
    EXPECT_EQ(c.picture().pixel(0, 0), Red);
}

struct PlotBox {
    int left, top, right, bottom;  // inclusive
};

// The plot's rectangle (level axis to right edge, top to frequency axis), grown by `margin`.
PlotBox PlotBoxOf(const DiagramInputs& in, double ratio, int margin) {
    const PlotFrame f = makePlotFrame(in.width, in.height);
    const auto px = [ratio](int v) { return RoundPx(v * ratio); };
    const int top = f.bottom - f.plotHeight;
    return {px(f.left - margin), px(top - margin), px(f.left + f.plotWidth + 1 + margin) - 1,
            px(f.bottom + 1 + margin) - 1};
}

// Outside the plot, grown by a reading's dot radius so that dots centred in it stay whole, the
// diagram with curves, deciles and readings far off the level axis is the diagram without
// them, also at a device pixel ratio of 2.
TEST(DiagramClip, NothingOfCurvesDecilesOrReadingsLeavesThePlot) {
    const std::vector<double> f{0.2, 14.2, 28.5, 144.0}, e{200, -300, 60, -60},
        b{2700, 2700, 2700, 2700};
    const struct {
        int yPos, yWidth, bandwidth;
    } cases[] = {{-40, 60, 2700}, {-40, 10, 2700}, {-10, 20, 6}, {-100, 40, 10000}};
    for (const auto& c : cases) {
        const ReferenceCurves curves = computeReferenceCurves(c.bandwidth);
        DiagramInputs bare;
        bare.yPos = c.yPos;
        bare.yWidth = c.yWidth;
        DiagramInputs full = bare;
        full.curves = &curves;
        full.deciles = true;
        full.measurements = {f, e, b};
        for (const double ratio : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << c.yPos << "/" << c.yWidth << " B " << c.bandwidth
                                            << " ratio " << ratio);
            const DiagramPicture drawn = renderDiagramAt(full, ratio);
            const DiagramPicture expected = renderDiagramAt(bare, ratio);
            const PlotBox p =
                PlotBoxOf(bare, ratio, makePlotFrame(bare.width, bare.height).dotRadius + 1);
            int differing = 0;
            for (int y = 0; y < drawn.height; ++y)
                for (int x = 0; x < drawn.width; ++x)
                    if ((x < p.left || x > p.right || y < p.top || y > p.bottom) &&
                        drawn.pixel(x, y) != expected.pixel(x, y))
                        ++differing;
            EXPECT_EQ(differing, 0);
        }
    }
}

// A reading above the axis is a triangle hanging from the top edge with its tip on it, one
// below stands on the bottom edge; both are 2 x (radius + 1) rows high.
TEST(DiagramClip, ReadingsOffTheLevelAxisAreTrianglesPointingOutOfThePlot) {
    const std::vector<double> f{14.2, 3.65}, e{45, -90}, b{2700, 2700};
    DiagramInputs in;
    in.bandwidthCorrection = false;
    in.measurements = {f, e, b};
    const DiagramPicture p = renderDiagram(in);
    const PlotBox box = PlotBoxOf(in, 1.0, 0);
    const int height = 2 * (makePlotFrame(in.width, in.height).dotRadius + 1);
    const auto blackRun = [&](int y) {  // first black column right of the axis, and the count
        std::pair<int, int> run{-1, 0};
        for (int x = box.left + 1; x <= box.right; ++x)
            if (p.pixel(x, y) == Black && run.second++ == 0) run.first = x;
        return run;
    };
    const int tip = blackRun(box.top).first;
    for (int k = 0; k <= height; ++k) {
        const auto expected = k < height ? std::pair{tip - k, 2 * k + 1} : std::pair{-1, 0};
        EXPECT_EQ(blackRun(box.top + k), expected) << k << " rows below the top";
        if (k == 0) continue;  // the bottom tip lies on the black frequency axis
        EXPECT_EQ(blackRun(box.bottom - k).second, expected.second) << k << " rows above";
    }
}

}  // namespace
}  // namespace fw
