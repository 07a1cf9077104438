#include "stationlog/log_stats.h"

#include "libs/fw_math.h"

namespace fw {

double NoiseFactorDb(double fieldDbuVm, double freqMHz, double bandwidthHz) {
    return fieldDbuVm - 20.0 * SafeLog10(freqMHz) - 10.0 * SafeLog10(bandwidthHz) + 98.9;
}

}  // namespace fw
