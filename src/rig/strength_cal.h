#pragma once
// An S-meter calibration table: raw meter values of a rig and the dB over S9 they stand for.
#include <span>

namespace fw::rig {

struct CalPoint {
    int raw;
    double db;
};

// The dB over S9 of a raw meter value, interpolated linearly between the table's points as
// Hamlib does: at or below the first point its value, at or above the last point its value;
// an empty table gives the raw value itself. The points are in ascending raw order.
double StrengthFromRaw(std::span<const CalPoint> table, int raw);

}  // namespace fw::rig
