#include "bearing/bearing_estimate.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>
#include <numbers>

namespace fw {
namespace {

const int UseCLocale = (std::setlocale(LC_ALL, "C"), 0);

// Levels in dB of a linear-power pattern at the bearings from..to every step.
std::vector<BearingLevel> Scan(double from, double to, double step, const std::function<double(double)>& power) {
    std::vector<BearingLevel> levels;
    for (double az = from; az <= to + 1e-9; az += step) levels.push_back({az, 10 * std::log10(power(az))});
    return levels;
}

double Off(double deg, double source) { return (deg - source) * std::numbers::pi / 180.0; }

double AngleError(double a, double b) { return std::abs(std::remainder(a - b, 360.0)); }

TEST(BearingEstimate, FindsStrongestAndWeakestOnFullAndPartCircles) {
    const struct {
        const char* name;
        std::vector<BearingLevel> levels;
        bool full, sharp;
        double strongest, weakest, width, tolerance;
    } cases[] = {
        // A cardioid: half power at +-90 degrees from its peak.
        {"cardioid", Scan(0, 350, 10, [](double a) { return 1.01 + std::cos(Off(a, 123)); }), true, true, 123, 303, 180, 2},
        // A broad, lopsided pattern between two steps.
        {"broad", Scan(0, 345, 15, [](double a) { return 2 + std::cos(Off(a, 200)); }), true, false, 200, 20, 240, 1},
        // A small loop: two sharp nulls, the lowest step's neighbours place them.
        {"loop", Scan(0, 350, 10, [](double a) { return 0.001 + std::pow(std::sin(Off(a, 44)), 2) * (1 - 0.2 * std::cos(Off(a, 44))); }),
         true, true, 0, 44, 90, 3},
        {"part", Scan(30, 150, 10, [](double a) { return 0.1 + std::exp(-std::pow((a - 77) / 30, 2)); }), false, false, 77, 150, 54, 1.5},
        {"part across north", Scan(300, 420, 10, [](double a) { return 0.1 + std::exp(-std::pow((a - 372) / 30, 2)); }), false, false, 12, 300, 54, 1.5},
    };
    for (const auto& c : cases) {
        const auto e = EstimateBearing(c.levels);
        ASSERT_TRUE(e.has_value()) << c.name;
        EXPECT_EQ(e->fullCircle, c.full) << c.name;
        EXPECT_EQ(e->sharpNull, c.sharp) << c.name;
        if (std::string(c.name) != "loop") {
            EXPECT_LT(AngleError(e->strongestDeg, c.strongest), c.tolerance) << c.name;
        }
        EXPECT_LT(AngleError(e->weakestDeg, c.weakest), c.tolerance) << c.name;
        EXPECT_NEAR(e->halfPowerWidthDeg, c.width, 10) << c.name;
    }
}

TEST(BearingEstimate, RefusesTooFewOrBadLevelsAndSaysWhereTheNoiseIs) {
    EXPECT_FALSE(EstimateBearing({{0, 1}, {10, 2}}).has_value());
    EXPECT_FALSE(EstimateBearing({{0, 1}, {10, NAN}, {20, 3}}).has_value());
    const BearingEstimate e{true, 123.4, 303.2, 131.0, false, false};
    EXPECT_EQ(BearingSummary(e), "Strongest noise from 123\u00b0 (half-power width 131\u00b0), weakest from 303\u00b0.");
    EXPECT_EQ(BearingSummary({false, 359.7, 90, 40, true, false}),
              "Strongest noise from 0\u00b0 (half-power width more than 40\u00b0), weakest from 90\u00b0.");
}

}  // namespace
}  // namespace fw
