// The bearing scan's polar plot: north up and clockwise, the strongest level on the rim and
// the weakest at the centre, the estimate's arrow towards its bearing.
#include <gtest/gtest.h>

#include <cmath>

#include "diagram/raster_canvas.h"
#include "logviews/bearing_polar.h"
#include "logviews/view_frame.h"

namespace fw {
namespace {

TEST(BearingPolar, PlacesLevelsAndTheEstimateByBearingAndLevel) {
    BearingPolarInputs in;
    in.title = "Bearing scan, 40m";
    in.unit = "dBm";
    for (int deg = 0; deg < 360; deg += 30)  // 20 dB from 90° to 270°, scanned from 180°
        in.levels.push_back({static_cast<double>((deg + 180) % 360),
                             -100 + 10 * std::sin(((deg + 180) % 360) * 3.14159265358979 / 180)});
    in.estimate = EstimateBearing(in.levels);
    ASSERT_TRUE(in.estimate && in.estimate->fullCircle);
    const BearingPolarDrawing d = DescribeBearingPolar(in);

    // In scan order from south: halfway out due south, west (the weakest) at the centre,
    // east (the strongest) on the rim.
    ASSERT_EQ(d.dots.size(), 12u);
    EXPECT_EQ(d.dots[0].x, d.centreX);
    EXPECT_NEAR(d.dots[0].y, d.centreY + d.radius / 2, 1);
    EXPECT_NEAR(d.dots[3].x, d.centreX, 1);
    EXPECT_NEAR(d.dots[3].y, d.centreY, 1);
    EXPECT_NEAR(d.dots[9].x, d.centreX + d.radius, 1);
    EXPECT_NEAR(d.dots[9].y, d.centreY, 1);
    EXPECT_EQ(d.trace.size(), 12u);  // a full circle closes
    ASSERT_TRUE(d.strongest);
    EXPECT_NEAR(d.strongest->x2, d.centreX + d.radius, 1);
    EXPECT_NEAR(d.strongest->y2, d.centreY, 1);
    ASSERT_EQ(d.ringLabels.size(), 4u);  // every 5 dB down to -15 dB; -20 dB is the centre
    EXPECT_EQ(d.ringLabels[3].text, "-15 dB");
    EXPECT_EQ(d.summary, "Strongest noise from 90° (half-power width 87°), weakest from 270°.");

    // Readings still coming in: no estimate, an open trace, and how far the scan has come.
    in.levels.resize(2);
    in.estimate.reset();
    const BearingPolarDrawing partial = DescribeBearingPolar(in);
    EXPECT_FALSE(partial.strongest);
    EXPECT_EQ(partial.trace.size(), 1u);
    EXPECT_EQ(partial.summary, "2 bearings read, levels in dBm");

    RasterCanvas canvas(in.width, in.height);
    DrawBearingPolar(canvas, d);
    EXPECT_EQ(canvas.picture().pixel(d.dots[9].x, d.dots[9].y), BandColour(0));
}

}  // namespace
}  // namespace fw
