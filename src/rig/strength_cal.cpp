#include "rig/strength_cal.h"

namespace fw::rig {

double StrengthFromRaw(std::span<const CalPoint> table, int raw) {
    if (table.empty()) return raw;
    if (raw <= table.front().raw) return table.front().db;
    if (raw >= table.back().raw) return table.back().db;
    std::size_t i = 1;
    while (table[i].raw <= raw) ++i;  // stops before the end: raw < table.back().raw
    const CalPoint& lo = table[i - 1];
    const CalPoint& hi = table[i];
    if (hi.raw == lo.raw) return hi.db;
    return lo.db + (hi.db - lo.db) * (raw - lo.raw) / (hi.raw - lo.raw);
}

}  // namespace fw::rig
