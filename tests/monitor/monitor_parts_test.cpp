#include <gtest/gtest.h>

#include <thread>

#include "monitor/duration_text.h"
#include "monitor/monitor_clock.h"

namespace fw {
namespace {

TEST(DurationText, WholeNumbersWithUnitsLargestFirst) {
    const std::vector<std::pair<const char*, long>> good = {
        {"3600", 3600},  {"90m", 5400},        {"8h", 28800}, {"1d12h", 129600},
        {"1h30m", 5400}, {"2d3h4m5s", 183845}, {"45s", 45},
    };
    for (const auto& [text, seconds] : good) {
        const auto d = ParseDurationText(text);
        ASSERT_TRUE(d.has_value()) << text;
        EXPECT_EQ(d->count(), seconds) << text;
    }
    for (const char* bad : {"", "0", "0h", "1h30", "30m1h", "1h1h", "h", "1.5h", "-1h", "1w", "1 h",
                            "99999999999999999999", "40000d"})
        EXPECT_FALSE(ParseDurationText(bad).has_value()) << bad;
}

TEST(SystemMonitorClock, AStopRequestEndsAWaitAndAPastTimeEndsIt) {
    SystemMonitorClock clock;
    std::stop_source stop;
    std::thread stopper([&] { stop.request_stop(); });
    // Without the stop this would wait a day.
    EXPECT_FALSE(clock.waitUntil(clock.now() + std::chrono::hours(24), stop.get_token()));
    stopper.join();
    EXPECT_TRUE(
        clock.waitUntil(clock.now() - std::chrono::seconds(1), std::stop_source().get_token()));
}

}  // namespace
}  // namespace fw
