#include "fw_math.h"

#include <cmath>

namespace fw {

double SafeLog10(double x) {
    if (!(x > 0.0)) return 0.0;
    return std::log10(x);
}

double BandwidthCorrectionDb(double bNow, double bMeas) { return 10.0 * SafeLog10(bNow / bMeas); }

int RoundPx(double v) {
    constexpr double limit = 1e9;
    if (std::isnan(v)) return 0;
    if (v > limit) return static_cast<int>(limit);
    if (v < -limit) return -static_cast<int>(limit);
    // nearbyint rounds half to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace fw
