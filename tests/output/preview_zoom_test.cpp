#include "output/preview_zoom.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(PreviewZoom, StepsWalkTheLevelsWithinTenToTwoHundredPercent) {
    // Zoom in from each whole percent goes to the next larger level, never past 200.
    EXPECT_EQ(ZoomInStep(10), 14);
    EXPECT_EQ(ZoomInStep(12), 14);
    EXPECT_EQ(ZoomInStep(14), 20);
    EXPECT_EQ(ZoomInStep(100), 120);
    EXPECT_EQ(ZoomInStep(120), 170);
    EXPECT_EQ(ZoomInStep(170), 200);  // 250 kept within the bound
    EXPECT_EQ(ZoomInStep(200), 200);

    EXPECT_EQ(ZoomOutStep(200), 170);
    EXPECT_EQ(ZoomOutStep(170), 120);
    EXPECT_EQ(ZoomOutStep(100), 80);
    EXPECT_EQ(ZoomOutStep(73), 60);
    EXPECT_EQ(ZoomOutStep(14), 10);
    EXPECT_EQ(ZoomOutStep(12), 10);
    EXPECT_EQ(ZoomOutStep(10), 10);  // 7 kept within the bound

    // Repeated steps end at the bounds and stay there.
    int z = 100;
    for (int i = 0; i < 20; ++i) z = ZoomInStep(z);
    EXPECT_EQ(z, 200);
    for (int i = 0; i < 20; ++i) z = ZoomOutStep(z);
    EXPECT_EQ(z, 10);

    EXPECT_EQ(ClampPreviewZoom(7), 10);
    EXPECT_EQ(ClampPreviewZoom(800), 200);
    EXPECT_EQ(ClampPreviewZoom(55), 55);
}

TEST(PreviewZoom, FitFormulasOfAnA4Page) {
    // A4 at 96 dpi: 793.70 x 1122.52 pixels.
    EXPECT_NEAR(PagePixelsAt96(210), 793.7008, 1e-4);
    EXPECT_NEAR(PagePixelsAt96(297), 1122.5197, 1e-4);

    // (1000 - 20 - 20) / 1122.52 = 85.52 % -> 86; (900 - 40) / 793.70 = 108.35 % -> 108.
    EXPECT_EQ(FitHeightZoom(1000, 10, 297), 86);
    EXPECT_EQ(FitWidthZoom(900, 10, 210), 108);
    // The gap counts twice: (1000 - 80 - 20) / 1122.52 = 80.18 %.
    EXPECT_EQ(FitHeightZoom(1000, 40, 297), 80);

    // A page taller than wide fits its height, whatever the area's shape.
    EXPECT_EQ(FitWholePageZoom(900, 1000, 10, 210, 297), 86);
    EXPECT_EQ(FitWholePageZoom(300, 1000, 10, 210, 297), 86);
    // A page wider than tall fits its width.
    EXPECT_EQ(FitWholePageZoom(900, 1000, 10, 297, 210), FitWidthZoom(900, 10, 297));

    // Fitted zooms stay within the bounds too: tiny or negative areas and huge ones.
    EXPECT_EQ(FitHeightZoom(30, 10, 297), 10);
    EXPECT_EQ(FitHeightZoom(-500, 10, 297), 10);
    EXPECT_EQ(FitWidthZoom(5000, 10, 210), 200);
}

TEST(PreviewZoom, FitRoundsAnExactHalfToTheEvenPercent) {
    // Page 1000 px, gap 10: (area - 40) / 10 percent.
    EXPECT_EQ(FitZoom(245 + 40, 10, 1000), 24);  // 24.5 -> 24
    EXPECT_EQ(FitZoom(255 + 40, 10, 1000), 26);  // 25.5 -> 26
    EXPECT_EQ(FitZoom(251 + 40, 10, 1000), 25);
    EXPECT_EQ(FitZoom(1000, 10, 0), 100);  // no page: actual size
}

}  // namespace
}  // namespace fw
