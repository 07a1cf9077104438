#include "libs/fw_math.h"

#include <cmath>

namespace fw {

double SafeLog10(double x) {
    if (!(x > 0.0)) return 0.0;
    return std::log10(x);
}

double BandwidthCorrectionDb(double bNow, double bMeas) {
    return 10.0 * SafeLog10(bNow / bMeas);
}

}  // namespace fw
