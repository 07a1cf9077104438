// Bearing scans in the station log: kept whole with their levels and estimate, read back by
// span, and refused whole when a figure is no number.
#include <gtest/gtest.h>

#include <cmath>

#include "stationlog/log_bearing.h"

namespace fw {
namespace {

LogBearingScan Scan(UtcSeconds utc, bool complete) {
    LogBearingScan s{utc, "40m", 7.1, "Floorwatch test SDR", "rotctld at localhost:4533", "dBm",
                     {{0, -101.5}, {120, -95.25}, {240, -99}}, std::nullopt};
    if (complete) s.estimate = BearingEstimate{true, 123.4, 303.4, 131, false, true};
    return s;
}

TEST(LogBearing, ScansComeBackWholeByTheirSpanAndADamagedOneLeavesNothing) {
    StationLog log = StationLog::Open(":memory:");
    const LogBearingScan complete = Scan(1000, true), stopped = Scan(2000, false);
    AddBearingScan(log, stopped);
    AddBearingScan(log, complete);
    LogBearingScan free = Scan(3000, true);
    free.band = "";
    free.freqMHz = 5.3515;
    AddBearingScan(log, free);
    EXPECT_EQ(BearingScansIn(log, {}), (std::vector<LogBearingScan>{complete, stopped, free}));
    EXPECT_EQ(BearingScansIn(log, {2000, 3000}), (std::vector<LogBearingScan>{stopped}));

    for (const double bad : {NAN, INFINITY}) {
        LogBearingScan damaged = Scan(4000, true);
        damaged.levels[1].levelDb = bad;
        EXPECT_THROW(AddBearingScan(log, damaged), LogError);
        damaged = Scan(4000, true);
        damaged.estimate->halfPowerWidthDeg = bad;
        EXPECT_THROW(AddBearingScan(log, damaged), LogError);
    }
    EXPECT_EQ(BearingScansIn(log, {}).size(), 3u);
    EXPECT_EQ(log.database().queryInt("SELECT count(*) FROM bearing_levels"), 9);
}

}  // namespace
}  // namespace fw
