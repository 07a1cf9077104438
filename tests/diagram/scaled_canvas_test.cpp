#include "diagram/scaled_canvas.h"

#include <gtest/gtest.h>

#include <array>

#include "diagram/raster_canvas.h"
#include "diagram/render.h"
#include "libs/fw_math.h"
#include "model/noise_model.h"

namespace fw {
namespace {

bool IsBlack(Rgb c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}

// A logical one-pixel line becomes a line of `ratio` device pixels, covering exactly the
// device pixels of its logical ones, whichever way it is drawn.
TEST(ScaledCanvas, LinesAndBoxesCoverTheirLogicalPixelsScaled) {
    for (const auto& [x1, y1, x2, y2] : {std::array{1, 1, 4, 1}, std::array{4, 1, 1, 1},
                                         std::array{2, 0, 2, 3}, std::array{2, 3, 2, 0}}) {
        RasterCanvas device(12, 12);
        ScaledCanvas canvas(device, 2.0);
        canvas.ClearCanvas();
        canvas.DrawLine(x1, y1, x2, y2, Rgb{0, 0, 0});
        RasterCanvas logical(6, 6);
        logical.ClearCanvas();
        logical.DrawLine(x1, y1, x2, y2, Rgb{0, 0, 0});
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                EXPECT_EQ(IsBlack(device.picture().pixel(x, y)),
                          IsBlack(logical.picture().pixel(x / 2, y / 2)))
                    << x1 << "," << y1 << "-" << x2 << "," << y2 << " at " << x << "," << y;
    }
}

TEST(ScaledCanvas, RatioOneIsTheLogicalPictureAndTwoDoublesItsSize) {
    const ReferenceCurves curves = computeReferenceCurves(2700);
    DiagramInputs in;
    in.curves = &curves;
    const DiagramPicture one = renderDiagram(in);
    EXPECT_EQ(renderDiagramAt(in, 1.0).rgb, one.rgb);
    const DiagramPicture two = renderDiagramAt(in, 2.0);
    EXPECT_EQ(two.width, 2 * one.width);
    EXPECT_EQ(two.height, 2 * one.height);
    const DiagramPicture oneAndHalf = renderDiagramAt(in, 1.5);
    EXPECT_EQ(oneAndHalf.width, RoundPx(1.5 * one.width));
}

}  // namespace
}  // namespace fw
