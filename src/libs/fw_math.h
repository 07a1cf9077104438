#pragma once
// Numeric helpers shared by the model, the conversions and the renderer.
#include <cmath>

namespace fw {

// The level value that means "no value exists" (a level an entry method cannot
// determine, or the galactic noise figure below 10 MHz).
inline constexpr double UnknownLevel = -999.0;

// Decimal logarithm for x > 0, exactly 0 for x <= 0 (and for NaN), so no logarithm fails.
double SafeLog10(double x);

// Decibels to add to a level measured with bandwidth bMeas to show it for bandwidth bNow.
// A bMeas of 0 is a division by zero; callers that must not fail check it first.
double BandwidthCorrectionDb(double bNow, double bMeas);

// Rounds a real to the nearest integer, an exact half to the even neighbour
// (89.5 -> 90, 66.5 -> 66). Values beyond +-1e9 and NaN are clamped so that
// pixel arithmetic never overflows. Inline: the renderer calls it for every dot.
inline int RoundPx(double v) {
    constexpr double limit = 1e9;
    if (!(v >= -limit && v <= limit)) {  // one test on the common path; NaN lands here too
        if (v > limit) return static_cast<int>(limit);
        if (v < -limit) return -static_cast<int>(limit);
        return 0;
    }
    // Adding and subtracting 1.5 * 2^52 leaves v rounded to an integer, an exact half to
    // even, in the default rounding mode: the same as nearbyint, without a library call.
    // (Compilers keep the two operations unless told to reassociate floating point.)
    constexpr double shifter = 6755399441055744.0;
    return static_cast<int>((v + shifter) - shifter);
}

}  // namespace fw
