// floorwatch-cli log compare on a hand-made station log.
#include "cli_run.h"
#include "stationlog/sample_log.h"
#include "stationlog/station_log.h"

namespace fw::cli {
namespace {

using namespace test;
using namespace ::fw::test;

// 40m: three readings in each hour of two days, v - 1, v and v + 5 dB(uV/m), whose hourly
// median is v; hours outside 22-05 are far off, so that taking them spoils the result. 80m:
// three hours after midnight of the first day only.
class CliCompare : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<LogReading> readings;
        const auto add = [&](UtcSeconds t, const char* band, double mhz, double field) {
            readings.push_back(LogReading{t, band, mhz, 2700, "Field", 0, -999, -999, -999, field,
                                          ReadingSource::Typed, "", "JO40CQ"});
        };
        for (int day = 0; day < 2; ++day) {
            for (int h = 0; h < 24; ++h) {
                const bool kept = h >= 22 || h <= 5;
                const double v = !kept ? 90 : day == 0 ? 10 + h % 7 : 13 + h % 5;
                const UtcSeconds hour = At("2026-03-01T00:00") + day * 86400 + h * 3600;
                for (int i = 0; i < 3; ++i) add(hour + 300 + i * 1200, "40m", 7.1, v + (i == 2 ? 5 : i - 1));
                if (day == 0 && h < 3) add(hour, "80m", 3.65, 20);
            }
        }
        StationLog::Open(log_).addAll(readings);
    }

    CliRun compare(std::vector<std::string> more) {
        std::vector<std::string> args = {"log", "compare", "--log", log_,
                                         "--before", "2026-03-01T00:00/2026-03-02T00:00",
                                         "--after", "2026-03-02T00:00/2026-03-03T00:00"};
        args.insert(args.end(), more.begin(), more.end());
        return Cli(args);
    }

    TempFolder folder_;
    std::string log_ = folder_.file("log.sqlite");
};

TEST_F(CliCompare, HourlyMediansOfTheChosenHoursComparedPerBand) {
    // Expected values from the hourly values 11 12 10 11 12 13 14 15 against
    // 15 16 13 14 15 16 17 13, computed apart from this program; Fa = E + 47.56 dB at 7.1 MHz.
    const CliRun csv = compare({"--hours", "22-05", "--format", "csv"});
    EXPECT_EQ(csv.code, ExitOk) << csv.err;
    EXPECT_EQ(csv.out,
              "band,freq_mhz,n_before,n_after,median_before_db,median_after_db,shift_db,"
              "ci_low_db,ci_high_db,p_value\r\n"
              "80m,3.65,3,0,73.34,,,,,\r\n"
              "40m,7.1,8,8,59.56,62.56,3.00,1.00,5.00,0.01099\r\n");
    const CliRun text = compare({"--hours", "22-05", "--bands", "40m"});
    EXPECT_EQ(text.code, ExitOk) << text.err;
    EXPECT_NE(text.out.find("40m: +3.0 dB (95 % CI +1.0 … +5.0), p = 0.011\n"), std::string::npos)
        << text.out;
    EXPECT_EQ(text.out.find("80m"), std::string::npos) << text.out;
}

TEST_F(CliCompare, RefusesBadSpansHoursAndBands) {
    const std::vector<std::pair<std::vector<std::string>, const char*>> cases = {
        {{"--hours", "22-24"}, "--hours must be"},
        {{"--bands", "41m"}, "--bands: "},
        {{"--before", "2026-03-02T00:00"}, "--before must be two UTC times"},
        {{"--after", "2026-03-03T00:00/2026-03-02T00:00"}, "--after: the start must lie before"},
    };
    for (const auto& [args, message] : cases) {
        const CliRun r = compare(args);
        EXPECT_EQ(r.code, ExitRefused) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    EXPECT_EQ(Cli({"log", "compare", "--log", log_, "--before", "2026-03-01T00:00/2026-03-02T00:00"})
                  .code,
              ExitUsage);
}

}  // namespace
}  // namespace fw::cli
