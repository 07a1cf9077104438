// floorwatch-cli log compare and the comparison of log report on station logs the tests build.
#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "cli_run.h"
#include "stationlog/sample_log.h"
#include "stationlog/station_log.h"

namespace fw::cli {
namespace {

using namespace test;
using namespace ::fw::test;

constexpr const char* Before = "2026-03-01T00:00/2026-03-09T00:00";
constexpr const char* After = "2026-03-09T00:00/2026-03-17T00:00";

// Sixteen days of 80m and 40m, one to four readings an hour, 40m 2 dB higher from 03-09 on,
// where an SDR takes over; 00-02 of 03-05 missing, so that the evening of 03-04 has too few
// of the hours 22-02. 20m: three days only.
class CliCompare : public ::testing::Test {
  protected:
    void SetUp() override {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> level(0, 800);
        const UtcSeconds start = At("2026-03-01T00:00");
        for (UtcSeconds hour = start; hour < start + 16 * 86400; hour += 3600) {
            if (hour >= At("2026-03-05T00:00") && hour < At("2026-03-05T03:00")) continue;
            const bool after = hour >= At("2026-03-09T00:00");
            for (const auto& [band, mhz] : {std::pair{"80m", 3.65}, {"40m", 7.1}, {"20m", 14.175}}) {
                if (band == std::string("20m") && hour >= start + 3 * 86400) continue;
                const int count = 1 + static_cast<int>(hour / 3600 % 4);
                for (int i = 0; i < count; ++i) {
                    LogReading r{hour + i * 600, band, mhz, 2700, "Field", 2.15, 0, 0, 0,
                                 10 + level(random) / 100.0, ReadingSource::Rig, "Hamlib Dummy",
                                 "JO40CQ"};
                    if (after && band == std::string("40m"))
                        r = {r.utc, band, mhz, 2700, "Field", 2.15, 0, 0, 0, r.fieldDbuVm + 2,
                             ReadingSource::Sdr, "RTL", "JO40CQ", 0, -10};
                    readings_.push_back(r);
                }
            }
        }
        StationLog::Open(log_).addAll(readings_);
    }

    CliRun compare(const char* before, const char* after, std::vector<std::string> more) {
        more.insert(more.begin(), {"log", "compare", "--log", log_, "--before", before, "--after", after});
        return Cli(more);
    }

    std::vector<LogReading> readings_;
    TempFolder folder_;
    std::string log_ = folder_.file("log.sqlite");
};

// The days' values of one band in [from, to), computed plainly: readings grouped by clock
// hour, hours by the date on which their 22-02 window starts, days with 3 of 5 hours kept.
std::vector<double> DaysOf(const std::vector<LogReading>& readings, const std::string& band,
                           UtcSeconds from, UtcSeconds to) {
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    };
    std::map<UtcSeconds, std::vector<double>> hours;
    for (const LogReading& r : readings) {
        const int hourOfDay = static_cast<int>(r.utc % 86400 / 3600);
        if (r.band != band || r.utc < from || r.utc >= to || (hourOfDay > 2 && hourOfDay < 22))
            continue;
        hours[r.utc / 3600].push_back(r.fieldDbuVm - 20 * std::log10(r.freqMHz) -
                                      10 * std::log10(r.bandwidthHz) + 98.9);
    }
    std::map<UtcSeconds, std::vector<double>> days;
    for (const auto& [hour, values] : hours)
        days[static_cast<UtcSeconds>(std::floor((hour - 22) / 24.0))].push_back(median(values));
    std::vector<double> out;
    for (const auto& [day, values] : days)
        if (values.size() >= 3) out.push_back(median(values));
    return out;
}

std::vector<std::string> CsvLineOf(const std::string& csv, const std::string& band) {
    const std::string row = csv.substr(csv.find("\r\n" + band + ",") + 2);
    std::istringstream line(row.substr(0, row.find('\r')));
    std::vector<std::string> fields;
    for (std::string f; std::getline(line, f, ',');) fields.push_back(f);
    return fields;
}

TEST_F(CliCompare, DaysComparedEqualAnIndependentComputation) {
    const CliRun csv = compare(Before, After, {"--hours", "22-02", "--format", "csv"});
    ASSERT_EQ(csv.code, ExitOk) << csv.err;
    for (const std::string band : {"80m", "40m"}) {
        std::vector<double> b = DaysOf(readings_, band, At("2026-03-01T00:00"), At("2026-03-09T00:00"));
        std::vector<double> a = DaysOf(readings_, band, At("2026-03-09T00:00"), At("2026-03-17T00:00"));
        // Before: the windows of 02-28 (3 hours), 03-01 to 03-07 but 03-04; 03-08 has only
        // 22 and 23 inside the span. After: 03-08 (00-02 of 03-09) to 03-15.
        ASSERT_EQ(b.size(), 7u);
        ASSERT_EQ(a.size(), 8u);
        // Every difference, sorted; ranks of the pooled days by counting.
        std::vector<double> d;
        for (double x : a)
            for (double y : b) d.push_back(x - y);
        std::sort(d.begin(), d.end());
        const auto k = static_cast<std::size_t>(std::floor(28 - 1.959964 * std::sqrt(7.0 * 8 * 16 / 12)));
        std::vector<double> pooled = b;
        pooled.insert(pooled.end(), a.begin(), a.end());
        double rankSum = 0, ties = 0;
        for (double x : a)
            rankSum += std::count_if(pooled.begin(), pooled.end(), [&](double v) { return v < x; }) +
                       (std::count(pooled.begin(), pooled.end(), x) + 1) / 2.0;
        for (double x : pooled)  // a group of t equal days adds t^3 - t over its t members
            ties += std::pow(std::count(pooled.begin(), pooled.end(), x), 2) - 1;
        const double u = rankSum - 8.0 * 9 / 2;
        const double sigma = std::sqrt(7.0 * 8 / 12 * (16 - ties / (15.0 * 14)));
        const double p = std::erfc((std::abs(u - 28) - 0.5) / sigma / std::sqrt(2.0));
        std::sort(b.begin(), b.end());
        std::sort(a.begin(), a.end());
        const std::vector<double> expected = {b[3], (a[3] + a[4]) / 2, (d[27] + d[28]) / 2,
                                              d[k - 1], d[56 - k]};
        const std::vector<std::string> line = CsvLineOf(csv.out, band);
        ASSERT_EQ(line.size(), 11u) << csv.out;
        EXPECT_EQ(line[2] + "," + line[3], "7,8") << band;
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(std::stod(line[4 + i]), expected[i], 0.0005) << band << " column " << 4 + i;
        EXPECT_NEAR(std::stod(line[9]), p, p * 5e-4) << band;
        EXPECT_EQ(line[10], band == "40m" ? "yes" : "no");
    }

    std::string text = compare(Before, After, {"--hours", "22-02"}).out;
    std::replace(text.begin(), text.end(), '\n', ' ');  // the notes are wrapped
    for (const char* expected :
         {"40m: receiver changed between the spans: Hamlib Dummy (rig), 2.15 dBi, calibration "
          "unknown → RTL (sdr), 2.15 dBi, reference level -10 dBm, calibration +0.0 dB ",
          "20m: too few days to compare (3 before, 0 after; 5 needed on each side) ",
          "Bands compared: 80m, 40m.", "window of the hours 22-02 UTC that starts on that date",
          "fewer than 3 of its 5 hours"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

// Every time text the program writes is read; overlapping, equal and empty spans are
// refused by compare and report alike, naming why, and no report is written.
TEST_F(CliCompare, SpansInEveryTimeTextAndRefusals) {
    const CliRun plain = compare(Before, After, {"--format", "csv"});
    ASSERT_EQ(plain.code, ExitOk) << plain.err;
    const CliRun stamped = compare("2026-03-01T00:00Z/2026-03-09T00:00:00Z",
                                   "2026-03-09T00:00:00Z/2026-03-17T00:00Z", {"--format", "csv"});
    EXPECT_EQ(stamped.out, plain.out) << stamped.err;

    const std::vector<std::tuple<const char*, const char*, std::vector<std::string>, const char*>>
        cases = {
            {Before, Before, {}, "the before and after spans are the same (2026-03-01 00:00 to "
                                 "2026-03-09 00:00 UTC)"},
            {"2026-03-01T00:00/2026-03-10T00:00", After, {},
             "the before and after spans overlap from 2026-03-09 00:00 to 2026-03-10 00:00 UTC"},
            {Before, "2027-01-01T00:00/2027-01-02T00:00", {},
             "no readings in the after span (2027-01-01 00:00 to 2027-01-02 00:00 UTC)"},
            {Before, After, {"--hours", "10-12", "--bands", "160m"},
             "no readings in the before span (2026-03-01 00:00 to 2026-03-09 00:00 UTC) in the "
             "hours 10-12 UTC on 160m nor in the after span"},
            {"2026-03-01T00:00Z/2026-03-01T00:00:00Z", After, {}, "--before: the start must lie"},
        };
    const std::string pdf = folder_.file("report.pdf");
    for (const auto& [before, after, more, message] : cases) {
        const CliRun r = compare(before, after, more);
        EXPECT_TRUE(r.code == ExitRefused && r.err.find(message) != std::string::npos) << r.err;
        if (!more.empty()) continue;  // log report takes no --bands
        const CliRun report = Cli({"log", "report", "--log", log_, "--before", before, "--after",
                                   after, "--pdf", pdf});
        EXPECT_TRUE(report.code == ExitRefused && report.err.find(message) != std::string::npos)
            << report.err;
        EXPECT_FALSE(Exists(pdf)) << message;
    }
}

}  // namespace
}  // namespace fw::cli
