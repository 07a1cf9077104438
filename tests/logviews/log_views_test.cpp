#include <gtest/gtest.h>

#include <cmath>

#include "diagram/recording_canvas.h"
#include "logviews/hourly_profile_view.h"
#include "logviews/level_over_time_view.h"
#include "logviews/neighbour_profile_view.h"
#include "logviews/profile_comparison_view.h"
#include "stationlog/utc_text.h"

namespace fw {
namespace {

using test::Call;
using test::RecordingCanvas;

UtcSeconds At(const char* minute) {
    return *ParseUtcMinute(minute);
}

TEST(TimeTicks, RoundStepsThatFitTheSpan) {
    struct Case {
        const char* from;
        const char* to;
        int most;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases = {
        {"2026-03-01T22:10",
         "2026-03-02T04:00",
         8,
         {"23:00", "03-02 00:00", "01:00", "02:00", "03:00", "04:00"}},
        {"2026-03-01T00:00",
         "2026-03-02T00:00",
         5,
         {"00:00", "06:00", "12:00", "18:00", "03-02 00:00"}},
        {"2026-03-01T00:00", "2026-03-31T00:00", 6, {"03-02", "03-09", "03-16", "03-23", "03-30"}},
        {"2026-01-15T00:00",
         "2026-12-31T00:00",
         6,
         {"2026-03", "2026-05", "2026-07", "2026-09", "2026-11"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> texts;
        for (const TimeTick& t : TimeTicks(At(c.from), At(c.to), c.most)) {
            EXPECT_GE(t.utc, At(c.from));
            EXPECT_LE(t.utc, At(c.to));
            texts.push_back(t.text);
        }
        EXPECT_EQ(texts, c.texts) << c.from;
    }
    EXPECT_TRUE(TimeTicks(At("2026-03-01T00:00"), At("2026-03-01T00:00"), 5).empty());
}

TEST(ViewLevels, ManMadeLevelsFollowTheReferenceCurvesAndTheRangeHoldsEveryValue) {
    // At 1 MHz in 2700 Hz, the reference values of the curves (city 12.2136 dB(uV/m)).
    const std::vector<ReferenceLevel> at1 = ManMadeLevels(1.0, 2700);
    ASSERT_EQ(at1.size(), 4u);
    EXPECT_EQ(at1[0].name, "City");
    EXPECT_NEAR(at1[0].fieldDbuVm, 12.2136, 1e-4);
    EXPECT_NEAR(at1[2].fieldDbuVm, 2.6136, 1e-4);
    EXPECT_NEAR(at1[3].fieldDbuVm, -10.9864, 1e-4);
    EXPECT_NEAR(FieldOfNoiseFactor(49.1, 10, 2700), 4.5136, 1e-4);

    const std::vector<double> values = {3.5, -12.25, NAN, 17};
    const LevelRange r = LevelRangeFor(values);
    EXPECT_EQ(r.low, -20);
    EXPECT_EQ(r.high, 20);
    EXPECT_EQ(
        LevelRangeFor(std::vector<double>{5}).high - LevelRangeFor(std::vector<double>{5}).low, 20);
    EXPECT_EQ(LevelRangeFor(std::vector<double>{10, 25}).low, 0);  // not on the axis line
}

TEST(LevelOverTimeView, OneDotPerReadingInTheSpanInItsBandsColourAndFourLevelsPerBand) {
    LevelOverTimeInputs in;
    in.from = At("2026-03-01T00:00");
    in.to = At("2026-03-02T00:00");
    in.levels = LevelRange{-40, 40};
    in.series = {{{"80m", 3.65},
                  {in.from + 600, in.from + 1200, in.to + 600},  // the last lies past the span
                  {10, 20, 30}},
                 {{"", 7.05}, {in.from + 3600}, {-5}}};
    RecordingCanvas canvas;
    DrawLevelOverTime(canvas, in);

    const std::vector<Call> dots = canvas.only("DrawDot");
    ASSERT_EQ(dots.size(), 3u);
    EXPECT_EQ(dots[0].c1, BandColour(0));
    EXPECT_EQ(dots[2].c1, BandColour(1));
    EXPECT_LT(dots[0].a[0], dots[1].a[0]);  // later to the right
    EXPECT_GT(dots[0].a[1], dots[1].a[1]);  // higher level further up
    const ViewFrame f = MakeViewFrame(in.width, in.height);
    const LinearAxis level(-40, 40, f.plot.bottom, f.top());
    EXPECT_EQ(dots[2].a[1], level.pixel(-5));

    for (const char* label :
         {"80m City", "80m Resid.", "80m Rural", "80m Quiet", "7.05 MHz City", "7.05 MHz Quiet"})
        EXPECT_NE(canvas.text(label), nullptr) << label;
    EXPECT_NE(canvas.text("Level over time"), nullptr);
    EXPECT_NE(canvas.text("80m"), nullptr);  // legend
}

TEST(HourlyProfileView, RangeBarsForHoursWithReadingsMedianAndAtmosphericCurves) {
    HourlyProfileInputs in;
    in.levels = LevelRange{-40, 60};
    in.profile.band = {"80m", 3.65};
    for (auto& h : in.profile.hours) h = {0, NAN, NAN, NAN};
    in.profile.hours[3] = {5, 10, 4, 16};
    in.profile.hours[4] = {2, 12, 8, 14};
    in.profile.hours[20] = {1, 0, 0, 0};

    RecordingCanvas without;
    DrawHourlyProfile(without, in);
    const ViewFrame f = HourlyProfileFrame(in.width, in.height);
    const LinearAxis level(-40, 60, f.plot.bottom, f.top());
    std::vector<Call> bars;
    for (const Call& c : without.only("FillBox"))
        if (c.c1 == RgbHex(0xA6C8E8)) bars.push_back(c);
    bars.pop_back();  // the legend's swatch, drawn last
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].a[1], level.pixel(16));
    EXPECT_EQ(bars[0].a[1] + bars[0].a[3] - 1, level.pixel(4));
    EXPECT_EQ(without.only("DrawDot").size(), 3u);
    EXPECT_EQ(without.text("Atmospheric median"), nullptr);

    std::array<double, 24> fa;
    fa.fill(60);
    fa[0] = NAN;
    in.atmosphericFa = fa;
    RecordingCanvas with;
    DrawHourlyProfile(with, in);
    EXPECT_NE(with.text("Atmospheric median"), nullptr);
    // The legend lies under the plot, in the picture.
    for (const char* row : {"10 % - 90 % of readings", "Median", "Atmospheric median"}) {
        ASSERT_NE(with.text(row), nullptr);
        EXPECT_GT(with.text(row)->a[1], f.plot.bottom + f.plot.mainFontSize) << row;
        EXPECT_LT(with.text(row)->a[1] + 2 * f.plot.mainFontSize, in.height) << row;
    }
    std::vector<Call> atmospheric;
    for (const Call& c : with.only("DrawDot"))
        if (c.c1 == RgbHex(0x8B4513)) atmospheric.push_back(c);
    ASSERT_EQ(atmospheric.size(), 23u);
    EXPECT_EQ(atmospheric[0].a[1], level.pixel(FieldOfNoiseFactor(60, 3.65, 2700)));
}

TEST(ProfileComparisonView, BothSidesMediansInTheirColoursBarsSideBySideAndTheSpansInTheLegend) {
    ProfileComparisonInputs in{.levels = LevelRange{-40, 60}};
    in.before.band = in.after.band = {"40m", 7.1};
    for (HourlyProfile* p : {&in.before, &in.after}) p->hours.fill({0, NAN, NAN, NAN});
    in.before.hours[5] = {4, 10, 2, 12};
    in.before.hours[6] = {4, 11, 3, 13};
    in.after.hours[5] = {3, 20, 15, 30};  // the after side lacks hour 6, has hour 23
    in.after.hours[23] = {1, 25, 25, 25};
    in.beforeText = "before 2026-03-01 00:00 to 2026-03-03 00:00 UTC";
    in.afterText = "after 2026-03-03 00:00 to 2026-03-05 00:00 UTC";
    RecordingCanvas canvas;
    DrawProfileComparison(canvas, in);

    const ViewFrame f = ProfileComparisonFrame(in.width, in.height);
    const LinearAxis level(-40, 60, f.plot.bottom, f.top());
    const LinearAxis hours(0, 24, f.plot.left, f.right());
    std::vector<std::array<int, 3>> dots;  // after or not, x, y
    for (const Call& c : canvas.only("DrawDot"))
        dots.push_back({int(c.c1 == AfterColour), c.a[0], c.a[1]});
    EXPECT_EQ(dots, (std::vector<std::array<int, 3>>{{0, hours.pixel(5.5), level.pixel(10)},
                                                     {0, hours.pixel(6.5), level.pixel(11)},
                                                     {1, hours.pixel(5.5), level.pixel(20)},
                                                     {1, hours.pixel(23.5), level.pixel(25)}}));
    // Hour 5's bars from 90 % down to 10 %: before left of the hour's middle, after right.
    std::vector<std::array<int, 3>> bars;  // right end or left end, top, bottom
    for (const Call& c : canvas.only("FillBox"))
        if (c.a[1] == level.pixel(12) || c.a[1] == level.pixel(30))
            bars.push_back({c.a[0] + (bars.empty() ? c.a[2] : 0), c.a[1], c.a[1] + c.a[3] - 1});
    EXPECT_EQ(bars, (std::vector<std::array<int, 3>>{
                        {hours.pixel(5.5), level.pixel(12), level.pixel(2)},
                        {hours.pixel(5.5), level.pixel(30), level.pixel(15)}}));
    for (const std::string& side : {in.beforeText, in.afterText})
        EXPECT_NE(canvas.text(side + ": median, 10 % - 90 %"), nullptr) << side;
}

TEST(NeighbourProfileView, BothProfilesInTheirColoursAndOnlyTheHoursApartShaded) {
    NeighbourProfileInputs in;
    in.own.fill(NAN);
    in.neighbours.fill(NAN);
    in.own[2] = 45, in.neighbours[2] = 40;   // 5 dB apart: shaded
    in.own[3] = 41, in.neighbours[3] = 40;   // 1 dB apart
    in.own[4] = 44;                          // no neighbour
    RecordingCanvas canvas;
    DrawNeighbourProfiles(canvas, in);

    const ViewFrame f = NeighbourProfileFrame(in.width, in.height);
    const LinearAxis level(30, 50, f.plot.bottom, f.top());
    const LinearAxis hours(0, 24, f.plot.left, f.right());
    std::vector<std::array<int, 3>> dots;  // own or not, x, y
    for (const Call& c : canvas.only("DrawDot"))
        dots.push_back({int(c.c1 == OwnProfileColour), c.a[0], c.a[1]});
    EXPECT_EQ(dots, (std::vector<std::array<int, 3>>{{0, hours.pixel(2.5), level.pixel(40)},
                                                     {0, hours.pixel(3.5), level.pixel(40)},
                                                     {1, hours.pixel(2.5), level.pixel(45)},
                                                     {1, hours.pixel(3.5), level.pixel(41)},
                                                     {1, hours.pixel(4.5), level.pixel(44)}}));
    std::vector<int> shaded;
    for (const Call& c : canvas.only("FillBox"))
        if (c.c1 == StandOutShade) shaded.push_back(c.a[0]);
    EXPECT_EQ(shaded, std::vector<int>{hours.pixel(2) + 1});
}

}  // namespace
}  // namespace fw
