// The two optional layers of the diagram: decile bands and the atmospheric noise. Switched
// off, the diagram is drawn call for call as it was before they existed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "diagram/render.h"
#include "model/noise_total.h"
#include "recording_canvas.h"

namespace fw {
namespace {

using test::Call;
using test::RecordingCanvas;

// FNV-1a over every recorded call: operation, integer arguments, text and colours.
std::uint64_t Digest(const RecordingCanvas& canvas) {
    std::uint64_t h = 14695981039346656037ull;
    auto add = [&](const void* data, std::size_t n) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    };
    for (const Call& c : canvas.calls) {
        add(c.op.data(), c.op.size());
        for (int v : c.a) add(&v, sizeof v);
        add(c.text.data(), c.text.size());
        for (const Rgb& rgb : {c.c1, c.c2}) add(&rgb, sizeof rgb);
    }
    return h;
}

constexpr Rgb Black = RgbHex(0x000000);
constexpr Rgb AtmosphericColour = RgbHex(0x008B8B);
constexpr Rgb LightAtmospheric = RgbHex(0x7FC5C5);
constexpr Rgb LightCity = RgbHex(0xFF7F7F);
constexpr Rgb LightGalactic = RgbHex(0xE387F6);

// An atmospheric layer over the grid points up to 30 MHz: Fa falling 20 dB per decade from
// 90 dB at 100 kHz, upper decile 8 dB above, lower decile 6 dB below.
AtmosphericLayer SampleLayer(const ReferenceCurves& rc) {
    AtmosphericLayer layer;
    layer.legend = "Atmospheric noise: JO40CQ, January, 13 h UTC";
    for (std::size_t d = 0; d < rc.freqGrid.size() && rc.freqGrid[d] <= 30e6; ++d) {
        const double fa = 90 - 20 * (rc.log10Freq[d] - 5);
        layer.freqHz.push_back(rc.freqGrid[d]);
        layer.log10Hz.push_back(rc.log10Freq[d]);
        layer.fa.push_back(fa);
        layer.faUpper.push_back(fa + 8);
        layer.faLower.push_back(fa - 6);
    }
    return layer;
}

struct View {
    int w, h, yPos, yWidth;
    bool dots;
};

DiagramInputs Inputs(const View& s, const ReferenceCurves& curves, const MeasDots& dots) {
    DiagramInputs in;
    in.width = s.w;
    in.height = s.h;
    in.yPos = s.yPos;
    in.yWidth = s.yWidth;
    in.curves = &curves;
    if (s.dots) {
        in.measurements = dots;
        in.locator = "JO40CQ";
        in.measDateTime = "2026-01-15 14:20";
    }
    return in;
}

// The digests were recorded from the renderer before the layers existed; the second one
// since, as its two readings lie above the level axis, they are also marked at its edge.
TEST(Layers, SwitchedOffTheDiagramIsDrawnAsBefore) {
    const ReferenceCurves curves = computeReferenceCurves(2700);
    const std::vector<double> f{3.65, 14.2}, e{13.3, 2.0}, b{2700, 500};
    const AtmosphericLayer layer = SampleLayer(curves);
    const struct {
        View setup;
        std::uint64_t digest;
    } cases[] = {
        {{537, 497, -40, 60, false}, 0x1da031685156a761ull},
        {{1920, 1080, -30, 20, true}, 0x34e77451d15b9386ull},
        {{305, 314, -100, 200, true}, 0x90a373b959d3aeefull},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.setup.w << "x" << c.setup.h);
        const DiagramInputs in = Inputs(c.setup, curves, {f, e, b});
        RecordingCanvas canvas;
        drawDiagram(canvas, in);
        EXPECT_EQ(Digest(canvas), c.digest);

        DiagramInputs on = in;
        on.deciles = true;
        on.atmospheric = &layer;
        EXPECT_NE(renderDiagram(on).rgb, renderDiagram(in).rgb);
    }
}

int YAtDesignSize(double level) {
    return 435 - static_cast<int>(std::nearbyint(373.0 / 60 * (level + 40)));
}

std::vector<Call> CallsIn(const RecordingCanvas& canvas, const std::string& op, Rgb colour) {
    std::vector<Call> out;
    for (const Call& c : canvas.only(op))
        if (c.c1 == colour) out.push_back(c);
    return out;
}

TEST(Layers, DecilesAreThinLighterLinesUnderTheMedians) {
    const ReferenceCurves curves = computeReferenceCurves(2700);
    DiagramInputs in = Inputs({537, 497, -40, 60, false}, curves, {});
    in.deciles = true;
    RecordingCanvas canvas;
    drawDiagram(canvas, in);
    // City from 100 kHz (19.9136 dB(uV/m)) to 300 MHz, 11.0 dB above and 6.7 dB below.
    const double cityLast = curves.refField[0].back();
    const auto city = CallsIn(canvas, "DrawLine", LightCity);
    ASSERT_EQ(city.size(), 2u);
    EXPECT_EQ(city[0].a, (std::vector<int>{67, YAtDesignSize(19.9136 + 11.0), 470,
                                           YAtDesignSize(cityLast + 11.0)}));
    EXPECT_EQ(city[1].a, (std::vector<int>{67, YAtDesignSize(19.9136 - 6.7), 470,
                                           YAtDesignSize(cityLast - 6.7)}));
    // Galactic noise has deciles of 2 dB where it has a value: from grid point 690 on.
    const auto galactic = CallsIn(canvas, "DrawLine", LightGalactic);
    ASSERT_EQ(galactic.size(), 2u);
    EXPECT_EQ(galactic[0].a[0], 299);  // 10.02 MHz lies on the column of 10 MHz
    EXPECT_EQ(galactic[0].a[1], YAtDesignSize(curves.refField[4][690] + 2.0));
    EXPECT_EQ(galactic[1].a[3], YAtDesignSize(curves.refField[4].back() - 2.0));

    // Five pairs of decile lines, all drawn before the first median dot; medians unchanged.
    const auto& calls = canvas.calls;
    const auto firstDot =
        std::find_if(calls.begin(), calls.end(), [](const Call& c) { return c.op == "DrawDot"; });
    std::size_t bandLines = 0;
    for (auto it = calls.begin(); it != firstDot; ++it)
        if (it->op == "DrawLine" &&
            (it->c1 == LightCity || it->c1 == LightGalactic || it->c1 == RgbHex(0xFDDE98) ||
             it->c1 == RgbHex(0x7FBF7F) || it->c1 == RgbHex(0x7F7FFF)))
            ++bandLines;
    EXPECT_EQ(bandLines, 10u);
    EXPECT_EQ(canvas.only("DrawDot").size(), 6000u);
    EXPECT_EQ(canvas.only("FillBox").size(), 6u);  // the legend is the one without layers
}

TEST(Layers, AtmosphericCurveWithBandLegendRowAndLine) {
    const ReferenceCurves curves = computeReferenceCurves(2700);
    const AtmosphericLayer layer = SampleLayer(curves);
    ASSERT_EQ(layer.fa.size(), 855u);  // 100 kHz to 29.96 MHz
    DiagramInputs in = Inputs({537, 497, -40, 60, false}, curves, {});
    in.atmospheric = &layer;
    RecordingCanvas canvas;
    drawDiagram(canvas, in);
    // At 100 kHz: E = Fa + 20 log10(0.1) + 10 log10(2700) - 98.9 = Fa - 84.5864.
    const auto band = CallsIn(canvas, "DrawLine", LightAtmospheric);
    ASSERT_FALSE(band.empty());
    EXPECT_EQ(band.front().a[0], 67);
    EXPECT_EQ(band.front().a[1], YAtDesignSize(98 - 84.5864));
    const auto lower =
        std::find_if(band.begin() + 1, band.end(), [](const Call& c) { return c.a[0] == 67; });
    ASSERT_NE(lower, band.end());
    EXPECT_EQ(lower->a[1], YAtDesignSize(84 - 84.5864));
    EXPECT_EQ(std::prev(lower)->a[2], 354);  // the upper decile ends at 30 MHz

    const auto median = CallsIn(canvas, "DrawDot", AtmosphericColour);
    ASSERT_FALSE(median.empty());
    EXPECT_EQ(median.front().a, (std::vector<int>{67, YAtDesignSize(90 - 84.5864), 2}));
    EXPECT_EQ(median.back().a[0], 354);
    // The sixth curve lies over the five others and under the measurements.
    EXPECT_EQ(canvas.only("DrawDot").size(), 6000 + median.size());
    EXPECT_EQ(canvas.only("DrawDot")[6000].c1, AtmosphericColour);

    // A seventh legend row before "USER", and the legend line under the box.
    const auto boxes = canvas.only("DrawBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].a, (std::vector<int>{90, 293, 98, 7 * 14 + 4}));
    const auto swatches = canvas.only("FillBox");
    ASSERT_EQ(swatches.size(), 7u);
    EXPECT_EQ(swatches[5].c1, AtmosphericColour);
    EXPECT_EQ(swatches[6].c1, Black);
    const Call* row = canvas.text("Atmospheric");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->a, (std::vector<int>{104, 295 + 5 * 14}));
    const Call* user = canvas.text("USER");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->a, (std::vector<int>{104, 295 + 6 * 14}));
    const Call* line = canvas.text(layer.legend);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->a, (std::vector<int>{90, 293 + 7 * 14 + 6}));

    // The layer follows the bandwidth like the other curves: 10000 Hz lifts it 5.6864 dB.
    const ReferenceCurves wide = computeReferenceCurves(10000);
    in.curves = &wide;
    RecordingCanvas wider;
    drawDiagram(wider, in);
    EXPECT_EQ(CallsIn(wider, "DrawDot", AtmosphericColour).front().a[1],
              YAtDesignSize(90 - 84.5864 + 5.6864));
}

}  // namespace
}  // namespace fw
