#include "stationlog/utc_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace fw {
namespace {

TEST(UtcText, StampsAndHoursAcrossDatesLeapDaysAndBefore1970) {
    struct Case {
        UtcSeconds t;
        const char* stamp;
        int hour;
    };
    const std::vector<Case> cases = {
        {0, "1970-01-01T00:00:00Z", 0},
        {-1, "1969-12-31T23:59:59Z", 23},
        {951782400, "2000-02-29T00:00:00Z", 0},
        {1772323199, "2026-02-28T23:59:59Z", 23},
        {4107542400, "2100-03-01T00:00:00Z", 0},
        {1772323200 + 13 * 3600 + 5 * 60 + 7, "2026-03-01T13:05:07Z", 13},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UtcStampText(c.t), c.stamp);
        EXPECT_EQ(UtcHourOfDay(c.t), c.hour) << c.stamp;
    }
}

// Any stored number gives fields without overflow; only 1970 ... 9999 are times of the log.
TEST(UtcText, TimesBeyondTheCalendarAreBoundedAndNoLogTimes) {
    constexpr UtcSeconds Min = std::numeric_limits<UtcSeconds>::min();
    constexpr UtcSeconds Max = std::numeric_limits<UtcSeconds>::max();
    EXPECT_EQ(UtcFieldsOf(Min).year, -32767);
    EXPECT_EQ(UtcFieldsOf(Max).year, 32767);
    EXPECT_EQ(UtcHourOfDay(Min), UtcHourOfDay(Min % 86400 + 86400));
    EXPECT_EQ(UtcStampText(LastLogUtc), "9999-12-31T23:59:59Z");
    for (const UtcSeconds t : {Min, UtcSeconds{-1}, LastLogUtc + 1, UtcSeconds{4337154651777544242}})
        EXPECT_FALSE(IsLogTime(t)) << t;
    EXPECT_TRUE(IsLogTime(0) && IsLogTime(LastLogUtc));
    // Fields and seconds agree both ways, a day past the month's end counting on.
    EXPECT_EQ(UtcSecondsOf(UtcFieldsOf(951782400)), 951782400);
    EXPECT_EQ(UtcSecondsOf(UtcFields{2026, 2, 29, 0, 0, 0}), UtcSecondsOf({2026, 3, 1, 0, 0, 0}));
}

TEST(UtcText, ParsesOnlyRealMinutesInTheOptionForm) {
    EXPECT_EQ(ParseUtcMinute("2026-03-01T13:05"), 1772323200 + 13 * 3600 + 5 * 60);
    EXPECT_EQ(ParseUtcMinute("2024-02-29T00:00"), 1709164800);
    for (const char* bad :
         {"", "2026-03-01 13:05", "2026-03-01T13:05:00", "2026-3-01T13:05", "2026-02-29T00:00",
          "2026-13-01T00:00", "2026-00-10T00:00", "2026-04-31T00:00", "2026-03-01T24:00",
          "2026-03-01T23:60", "2026-03-01T1a:00", "+026-03-01T13:05"})
        EXPECT_FALSE(ParseUtcMinute(bad).has_value()) << bad;
}

}  // namespace
}  // namespace fw
