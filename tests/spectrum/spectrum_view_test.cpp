#include <gtest/gtest.h>

#include "diagram/scaled_canvas.h"
#include "libs/real_text.h"
#include "spectrum/spectrum_view.h"

namespace fw {
namespace {

constexpr double Centre = 7.1e6;
constexpr double Rate = 250e3;

// The used bins of a capture: the central 80 % of the span without 3 bins each side of the
// centre, flat at `floor` with one carrier at `carrierHz`.
SpectrumViewInputs Capture(int fftLength, double floor, double carrierHz, double carrier) {
    SpectrumViewInputs in;
    in.centreHz = Centre;
    in.spanHz = Rate;
    in.noiseDensityDbfsPerHz = floor;
    const double bin = Rate / fftLength;
    for (int k = -fftLength / 2; k < fftLength / 2; ++k) {
        if (std::abs(k) <= 3 || std::abs(k) > fftLength * 0.4) continue;
        const double hz = Centre + k * bin;
        in.bins.push_back({hz, std::abs(hz - carrierHz) < bin / 2 ? carrier : floor});
    }
    return in;
}

bool Crosses(const LineSegment& s, int x) {
    return std::min(s.x1, s.x2) < x && std::max(s.x1, s.x2) > x;
}

TEST(SpectrumView, DrawsFloorCarrierAndUsedSpanWhereTheyAre) {
    for (int n : {256, 4096, 32768}) {  // fewer bins than pixel columns, and far more
        SCOPED_TRACE(n);
        const SpectrumViewInputs in = Capture(n, -140, Centre + 50e3, -100);
        const SpectrumDrawing d = DescribeSpectrum(in);
        const ViewFrame& f = d.frame;
        EXPECT_EQ(d.levels.low, -140);
        EXPECT_EQ(d.levels.high, -80);  // 20 dB above the highest bin, for the legend
        EXPECT_EQ(d.noiseY, f.plot.bottom);
        // The one carrier bin reaches its level, even where a column holds many bins.
        int top = f.plot.bottom;
        for (const LineSegment& s : d.trace) top = std::min({top, s.y1, s.y2});
        EXPECT_EQ(top, LinearAxis(-140, -80, f.plot.bottom, f.top()).pixel(-100));
        // The whole span fills the axis; the used 80 % lie within it, the centre gap is not
        // bridged.
        const int centreX = (f.plot.left + f.right()) / 2;
        const int usedHalf = static_cast<int>(0.4 * f.plot.plotWidth);
        EXPECT_NEAR(d.usedLeft, centreX - usedHalf, 2);
        EXPECT_NEAR(d.usedRight, centreX + usedHalf, 2);
        for (const LineSegment& s : d.trace) {
            EXPECT_GE(std::min(s.x1, s.x2), d.usedLeft);
            EXPECT_LE(std::max(s.x1, s.x2), d.usedRight);
            if (n == 256) {
                EXPECT_FALSE(Crosses(s, centreX));
            }
        }
    }
}

TEST(SpectrumView, FrequencyMarksAreRoundAndEvenlySpaced) {
    const struct {
        double centre, span;
        char sep;
    } cases[] = {{7.1e6, 250e3, '.'}, {14.175e6, 2.048e6, ','}, {0.2e6, 20e3, '.'}};
    for (const auto& c : cases) {
        SpectrumViewInputs in = Capture(1024, -150, 0, -150);
        in.centreHz = c.centre;
        in.spanHz = c.span;
        in.bins.clear();
        in.sep = c.sep;
        const SpectrumDrawing d = DescribeSpectrum(in);
        ASSERT_GE(d.ticks.size(), 3u);
        std::vector<double> mhz;
        for (const FrequencyTick& t : d.ticks) {
            const std::optional<double> v = ParseRealText(t.text, c.sep);
            ASSERT_TRUE(v) << t.text;
            mhz.push_back(*v);
            EXPECT_GE(t.x, d.frame.plot.left);
            EXPECT_LE(t.x, d.frame.right());
        }
        EXPECT_GE(mhz.front(), (c.centre - c.span / 2) / 1e6 - 1e-9);
        EXPECT_LE(mhz.back(), (c.centre + c.span / 2) / 1e6 + 1e-9);
        const double step = mhz[1] - mhz[0];
        for (std::size_t i = 1; i < mhz.size(); ++i) EXPECT_NEAR(mhz[i] - mhz[i - 1], step, 1e-9);
        EXPECT_NEAR(std::abs(d.ticks[2].x - 2 * d.ticks[1].x + d.ticks[0].x), 0, 1);
    }
}

TEST(SpectrumView, PictureShowsTraceNoiseLineAndUsedEdges) {
    const SpectrumViewInputs in = Capture(2048, -140, Centre + 50e3, -100);
    const SpectrumDrawing d = DescribeSpectrum(in);
    const DiagramPicture p =
        DrawAtRatio(in.width, in.height, 1.0, [&](DiagramCanvas& c) { DrawSpectrum(c, d); });
    const int carrierX = d.usedLeft + static_cast<int>((d.usedRight - d.usedLeft) * (0.5 + 50.0 / 200));
    bool carrierDrawn = false;
    for (int x = carrierX - 2; x <= carrierX + 2; ++x)
        carrierDrawn = carrierDrawn ||
                       p.pixel(x, LinearAxis(-140, -80, d.frame.plot.bottom, d.frame.top()).pixel(-101)) ==
                           RgbHex(0x1F77B4);
    EXPECT_TRUE(carrierDrawn);
    const int midY = (d.frame.top() + d.frame.plot.bottom) / 2;
    EXPECT_EQ(p.pixel(d.usedRight, midY), RgbHex(0x2CA02C));
    EXPECT_EQ(p.pixel(d.usedLeft, midY), RgbHex(0x2CA02C));
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

TEST(SpectrumView, ShowsTheSignatureBesideN0AndMarksTheCombAboveItsLines) {
    SpectrumViewInputs in;
    in.centreHz = 7.1e6;
    in.spanHz = 250e3;
    in.noiseDensityDbfsPerHz = -140;
    for (int k = -400; k <= 400; ++k)
        if (std::abs(k) > 3) in.bins.push_back({7.1e6 + k * 250.0, k % 100 == 0 ? -120.0 : -140.0});
    in.signatureText = "Vd 1.05 dB, bursts none, comb 6 lines every 25.00 kHz: comb";
    in.combLinesHz = {7.0e6, 7.025e6, 7.05e6, 7.15e6, 7.175e6, 7.2e6};
    const SpectrumDrawing d = DescribeSpectrum(in);
    ASSERT_GE(d.legend.size(), 4u);
    EXPECT_EQ(d.legend[1].text, "N0");
    EXPECT_EQ(d.legend[3].text, in.signatureText);
    EXPECT_EQ(d.legend.back().text, "Comb lines");
    ASSERT_EQ(d.combMarks.size(), 6u);
    const LinearAxis level(d.levels.low, d.levels.high, d.frame.plot.bottom, d.frame.top());
    for (const LineSegment& m : d.combMarks) {
        EXPECT_EQ(m.x1, m.x2);
        EXPECT_LT(m.y2, level.pixel(-120));  // above its line's bin
    }
}

}  // namespace
}  // namespace fw
