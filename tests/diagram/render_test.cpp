#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/noise_model.h"
#include "recording_canvas.h"
#include "diagram/render.h"

namespace fw {
namespace {

using test::Call;
using test::RecordingCanvas;

constexpr Rgb Black = RgbHex(0x000000);
constexpr Rgb White = RgbHex(0xFFFFFF);
constexpr Rgb LightGrey = RgbHex(0xE6E6E6);
constexpr Rgb DarkGrey = RgbHex(0xB2B2B2);

struct Drawn {
    ReferenceCurves curves;
    RecordingCanvas canvas;
};

// Draws with the given settings and no measurements unless given.
Drawn Draw(int w, int h, int yPos = -40, int yWidth = 60, MeasDots dots = {},
           bool correction = true, int bandwidth = 2700) {
    Drawn d{computeReferenceCurves(bandwidth), {}};
    DiagramInputs in;
    in.width = w;
    in.height = h;
    in.curves = &d.curves;
    in.yPos = yPos;
    in.yWidth = yWidth;
    in.measurements = dots;
    in.bandwidthCorrection = correction;
    drawDiagram(d.canvas, in);
    return d;
}

std::vector<Call> LinesOf(const RecordingCanvas& c, Rgb colour, bool vertical) {
    std::vector<Call> out;
    for (const Call& l : c.only("DrawLine"))
        if (l.c1 == colour && (l.a[0] == l.a[2]) == vertical && (l.a[1] == l.a[3]) != vertical)
            out.push_back(l);
    return out;
}

TEST(PlotFrame, DesignSizeLargerAndNarrowPictures) {
    const struct {
        int w, h;
        PlotFrame f;  // left, bottom, width, height, radius, main, band, title font
    } cases[] = {
        {537, 497, {67, 435, 403, 373, 2, 8, 4, 15}},
        {800, 600, {100, 525, 600, 450, 3, 12, 6, 22}},
        {305, 314, {38, 275, 229, 236, 1, 5, 2, 9}},
        {537, 994, {67, 870, 403, 746, 2, 8, 4, 15}},  // height never scales sizes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const PlotFrame f = makePlotFrame(c.w, c.h);
        EXPECT_EQ(f.left, c.f.left);
        EXPECT_EQ(f.bottom, c.f.bottom);
        EXPECT_EQ(f.plotWidth, c.f.plotWidth);
        EXPECT_EQ(f.plotHeight, c.f.plotHeight);
        EXPECT_EQ(f.dotRadius, c.f.dotRadius);
        EXPECT_EQ(f.mainFontSize, c.f.mainFontSize);
        EXPECT_EQ(f.bandFontSize, c.f.bandFontSize);
        EXPECT_EQ(f.titleFontSize, c.f.titleFontSize);
    }
}

TEST(LevelSteps, StartNearZeroContinuesAtTheStepAndStopIsIncludedWhenReached) {
    using V = std::vector<double>;
    EXPECT_EQ(LevelSteps(-40, 20, 10), (V{-40, -30, -20, -10, 0, 10, 20}));
    EXPECT_EQ(LevelSteps(-5, 55, 10), (V{-5, 10, 20, 30, 40, 50}));
    EXPECT_EQ(LevelSteps(3, 63, 10), (V{3, 10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(LevelSteps(0, 60, 10), (V{0, 10, 20, 30, 40, 50, 60}));
    V fives;
    for (int v = -5; v <= 55; v += 5) fives.push_back(v);
    EXPECT_EQ(LevelSteps(-5, 55, 5), fives);
    const V threes = LevelSteps(3, 63, 5);
    EXPECT_EQ(V(threes.begin(), threes.begin() + 3), (V{3, 5, 10}));
    EXPECT_EQ(LevelSteps(-40, -20, 0.5).size(), 41u);
    EXPECT_EQ(LevelSteps(-40, -20, 0.5).back(), -20);
    EXPECT_EQ(LevelSteps(0, 25, 10).back(), 20);
}

TEST(WorkedExample, DecadeAndBandLines) {
    const Drawn d = Draw(537, 497);
    const auto decades = LinesOf(d.canvas, LightGrey, true);
    ASSERT_EQ(decades.size(), 30u);
    EXPECT_EQ(decades.front().a, (std::vector<int>{67, 435, 67, 62}));
    EXPECT_EQ(decades.back().a[0], 470);
    EXPECT_EQ(decades[9].a[0], 183);   // 1 MHz
    EXPECT_EQ(decades[18].a[0], 299);  // 10 MHz
    EXPECT_EQ(decades[20].a[0], 354);  // 30 MHz
    EXPECT_EQ(decades[27].a[0], 415);  // 100 MHz

    const auto bands = LinesOf(d.canvas, DarkGrey, true);
    ASSERT_EQ(bands.size(), 13u);
    const int expected[][2] = {{0, 82},  {1, 145}, {2, 216}, {3, 248},
                               {4, 282}, {6, 316}, {12, 433}};
    for (const auto& e : expected) EXPECT_EQ(bands[e[0]].a[0], e[1]) << e[0];
    for (const Call& b : bands) {
        EXPECT_EQ(b.a[1], 435);
        EXPECT_EQ(b.a[3], 62);
    }
}

TEST(WorkedExample, FrequencyAndBandLabels) {
    const Drawn d = Draw(537, 497);
    const std::pair<const char*, int> freq[] = {{"100 kHz", 67},  {"1 MHz", 183},
                                                {"10 MHz", 299},  {"30 MHz", 354},
                                                {"100 MHz", 415}, {"300 MHz", 470}};
    for (const auto& [label, x] : freq) {
        const Call* c = d.canvas.text(label);
        ASSERT_NE(c, nullptr) << label;
        EXPECT_EQ(c->a, (std::vector<int>{x - 8, 448})) << label;
        EXPECT_EQ(c->c1, Black);
        EXPECT_EQ(c->c2, White);
    }
    const std::pair<const char*, int> bands[] = {
        {"LW", 82}, {"MW", 145}, {"160", 216}, {"80", 248}, {"40", 282}, {"20", 316}, {" 2", 433}};
    for (const auto& [label, x] : bands) {
        const Call* c = d.canvas.text(label);
        ASSERT_NE(c, nullptr) << label;
        EXPECT_EQ(c->a, (std::vector<int>{x - 4, 437})) << label;
        EXPECT_EQ(c->c1, RgbHex(0x800000));
    }
    EXPECT_NE(d.canvas.text(" 6"), nullptr);
}

TEST(WorkedExample, LevelLinesAndLabels) {
    const Drawn d = Draw(537, 497);
    const auto minor = LinesOf(d.canvas, LightGrey, false);
    const auto major = LinesOf(d.canvas, DarkGrey, false);
    ASSERT_EQ(minor.size(), 13u);
    ASSERT_EQ(major.size(), 7u);
    EXPECT_EQ(minor[0].a, (std::vector<int>{67, 435, 470, 435}));  // -40
    EXPECT_EQ(minor[7].a[1], 217);                                 // -5
    EXPECT_EQ(minor[8].a[1], 186);                                 // 0
    EXPECT_EQ(major[1].a[1], 373);                                 // -30
    EXPECT_EQ(major[6].a[1], 62);                                  // 20 at the plot's top edge
    // The labels are the texts whose left edge is at x 43, each 7 pixels above its line.
    std::vector<std::pair<std::string, int>> labels;
    for (const Call& c : d.canvas.only("DrawText"))
        if (c.a[0] == 43) labels.emplace_back(c.text, c.a[1]);
    const std::vector<std::pair<std::string, int>> expected = {
        {"-40", 428}, {"-30", 366}, {"-20", 304}, {"-10", 242},
        {"0", 179},   {"10", 117},  {"20", 55}};
    EXPECT_EQ(labels, expected);
    for (std::size_t i = 0; i < major.size(); ++i) EXPECT_EQ(labels[i].second, major[i].a[1] - 7);
}

TEST(WorkedExample, AxesWithArrowHeads) {
    const Drawn d = Draw(537, 497);
    const auto black = [&] {
        std::vector<std::vector<int>> v;
        for (const Call& l : d.canvas.only("DrawLine"))
            if (l.c1 == Black) v.push_back(l.a);
        return v;
    }();
    ASSERT_EQ(black.size(), 6u);
    EXPECT_EQ(black[0], (std::vector<int>{67, 435, 490, 435}));
    EXPECT_EQ(black[1], (std::vector<int>{490, 435, 481, 430}));
    EXPECT_EQ(black[2], (std::vector<int>{490, 435, 481, 440}));
    EXPECT_EQ(black[3], (std::vector<int>{67, 435, 67, 43}));
    EXPECT_EQ(black[4], (std::vector<int>{67, 43, 62, 52}));
    EXPECT_EQ(black[5], (std::vector<int>{67, 43, 72, 52}));
}

TEST(WorkedExample, CurveDotsInEnvironmentOrder) {
    const Drawn d = Draw(537, 497);
    const auto dots = d.canvas.only("DrawDot");
    ASSERT_EQ(dots.size(), 6000u);
    const Rgb colours[] = {RgbHex(0xFF0000), RgbHex(0xFBBE31), RgbHex(0x008000), RgbHex(0x0000FF),
                           RgbHex(0xC80FED)};
    for (int e = 0; e < 5; ++e) {
        EXPECT_EQ(dots[e * 1200].c1, colours[e]);
        EXPECT_EQ(dots[e * 1200 + 1199].c1, colours[e]);
        EXPECT_EQ(dots[e * 1200].a[0], 67);
        EXPECT_EQ(dots[e * 1200 + 1199].a[0], 470);
        EXPECT_EQ(dots[e * 1200].a[2], 2);
    }
    // City at 100 kHz: 19.9136 dB(uV/m) -> y = 435 - round(373/60 * 59.9136) = 63.
    EXPECT_EQ(dots[0].a[1], 63);
}

TEST(WorkedExample, LegendUnitLocatorAndTitle) {
    const Drawn d = Draw(537, 497);
    const auto boxes = d.canvas.only("DrawBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].a, (std::vector<int>{90, 293, 98, 88}));
    EXPECT_EQ(boxes[0].c1, White);
    EXPECT_EQ(boxes[0].c2, Black);
    const auto swatches = d.canvas.only("FillBox");
    ASSERT_EQ(swatches.size(), 6u);
    const char* rows[] = {"City", "Residential", "Rural", "Quiet Rural", "Galactic", "USER"};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(swatches[k].a, (std::vector<int>{92, 297 + 14 * k, 8, 8}));
        const Call* t = d.canvas.text(rows[k]);
        ASSERT_NE(t, nullptr) << rows[k];
        EXPECT_EQ(t->a, (std::vector<int>{104, 295 + 14 * k}));
    }
    EXPECT_EQ(swatches[5].c1, Black);

    const auto up = d.canvas.only("DrawTextUp");
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].text, "E[dB(uV/m)]");
    EXPECT_EQ(up[0].a, (std::vector<int>{15, 99}));
    const Call* loc = d.canvas.text("NoLoc. NoDateTime");
    ASSERT_NE(loc, nullptr);
    EXPECT_EQ(loc->a, (std::vector<int>{376, 10}));
    const Call* title = d.canvas.text("Exp. Man-Made Noise ITU-R P.372-12");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->a, (std::vector<int>{107, 30}));
}

TEST(WorkedExample, DrawingOrderAndFonts) {
    const Drawn d = Draw(537, 497);
    const auto& calls = d.canvas.calls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].op, "ClearCanvas");
    std::vector<int> sizes;
    for (const Call& c : d.canvas.only("SetFont")) {
        EXPECT_EQ(c.text, "ftArial");
        sizes.push_back(c.a[0]);
    }
    EXPECT_EQ(sizes.front(), 8);
    EXPECT_EQ(sizes.back(), 15);
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), 4), sizes.end());

    // Grid before labels before curve dots before the legend, unit label, locator and title.
    auto firstIndex = [&](const std::string& op) {
        return std::find_if(calls.begin(), calls.end(), [&](const Call& c) { return c.op == op; }) -
               calls.begin();
    };
    auto lastIndex = [&](const std::string& op) {
        return calls.rend() -
               std::find_if(calls.rbegin(), calls.rend(),
                            [&](const Call& c) { return c.op == op; }) -
               1;
    };
    EXPECT_LT(lastIndex("DrawLine"), firstIndex("DrawDot"));
    EXPECT_LT(lastIndex("DrawDot"), firstIndex("DrawBox"));
    EXPECT_LT(firstIndex("DrawBox"), firstIndex("DrawTextUp"));
    EXPECT_EQ(calls.back().text, "Exp. Man-Made Noise ITU-R P.372-12");
}

TEST(LevelAxis, StepFollowsTheSpanAndLabelsTheMajorValues) {
    const struct {
        int yPos, yWidth;
        std::size_t major, minor;
        std::vector<std::string> labels, absent;
    } cases[] = {
        {-40, 20, 21, 41, {"-40", "-21", "-20"}, {}},  // 1 dB steps up to a span of 20
        {-40, 21, 3, 5, {"-40", "-30", "-20"}, {"-19"}},
        {-5, 60, 6, 13, {"-5", "10", "20", "30", "40", "50"}, {"0"}},
        {3, 60, 7, 13, {"3", "10", "60"}, {"0", "5"}},
        {0, 60, 7, 13, {"0", "10", "60"}, {}},
        {-100, 10, 11, 21, {"-100", "-90"}, {}},
        {80, 200, 21, 41, {"80", "280"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.yPos << " + " << c.yWidth);
        const Drawn d = Draw(537, 497, c.yPos, c.yWidth);
        EXPECT_EQ(LinesOf(d.canvas, DarkGrey, false).size(), c.major);
        EXPECT_EQ(LinesOf(d.canvas, LightGrey, false).size(), c.minor);
        for (const std::string& l : c.labels) EXPECT_NE(d.canvas.text(l), nullptr) << l;
        for (const std::string& l : c.absent) EXPECT_EQ(d.canvas.text(l), nullptr) << l;
    }
}

TEST(Measurements, DotsAreCorrectedToTheCurrentBandwidth) {
    const std::vector<double> f{3.65, 1.905, 7.1, 0.0, -3.0}, e{13.3, 0.0, 20.0, 0, 0},
        b{2700, 2700, 0, 2700, 2700};
    const MeasDots dots{f, e, b};
    const auto y = [](double v) {
        return 435 - static_cast<int>(std::nearbyint(373.0 / 60 * (v + 40)));
    };
    const Drawn d = Draw(537, 497, -40, 60, dots, true, 10000);
    const auto all = d.canvas.only("DrawDot");
    ASSERT_EQ(all.size(), 6005u);
    EXPECT_EQ(all[6000].a, (std::vector<int>{248, y(13.3 + 5.686), 3}));
    EXPECT_EQ(all[6000].c1, Black);
    EXPECT_EQ(all[6001].a[0], 215);  // 160 m just left of its marker line at 216
    // A stored bandwidth of 0 is drawn uncorrected instead of dividing by zero.
    EXPECT_EQ(all[6002].a[1], y(20));
    // Frequencies of 0 and below land far left, invisibly.
    EXPECT_LT(all[6003].a[0], 0);
    EXPECT_LT(all[6004].a[0], 0);

    const Drawn plain = Draw(537, 497, -40, 60, dots, false, 10000);
    EXPECT_EQ(plain.canvas.only("DrawDot")[6000].a[1], y(13.3));
}

}  // namespace
}  // namespace fw
