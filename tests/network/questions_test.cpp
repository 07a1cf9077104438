#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "libs/median.h"
#include "network/hourly_questions.h"
#include "network/log_upload.h"
#include "network_fixture.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"
#include "support/read_file.h"

namespace fw::test {
namespace {

const UtcSeconds Start = *ParseUtcMinute("2026-05-01T00:00");

struct Station {
    std::string call, locator;
    double offsetDb;  // added to every reading; the first station also 8 dB more 18-23 UTC
};
const Station Stations[] = {{"DL1ABC", "JO40CQ", 0}, {"DK2XYZ", "JO40CR", 1},
                            {"DF3QQ", "JO40DQ", -2}, {"DL4FAR", "JO62QM", 20}};

// Three days of 40 m readings every 20 minutes, spread within each hour and from day to day.
std::vector<LogReading> StationReadings(std::size_t station) {
    std::vector<LogReading> out;
    for (int i = 0; i < 3 * 72; ++i) {
        LogReading r{Start + i * 1200, "40m", 7.1, 2700, "AntVol", 0, 0, 0, 0, 0,
                     ReadingSource::Rig, "Hamlib Dummy", Stations[station].locator};
        const int hour = UtcHourOfDay(r.utc);
        r.fieldDbuVm = Stations[station].offsetDb + hour * 0.5 + (i * 5 % 7) * 0.75 +
                       (station == 0 && hour >= 18 ? 8 : 0);
        out.push_back(r);
    }
    return out;
}

// The test's own answer: per station and hour of the day, the median of the hourly medians.
std::map<std::string, std::array<double, 24>> ExpectedProfiles() {
    std::map<std::string, std::array<double, 24>> out;
    for (std::size_t s = 0; s < std::size(Stations); ++s) {
        std::map<UtcSeconds, std::vector<double>> hours;
        for (const LogReading& r : StationReadings(s))
            hours[r.utc / 3600].push_back(NoiseFactorDb(r.fieldDbuVm, r.freqMHz, r.bandwidthHz));
        std::array<std::vector<double>, 24> byHour;
        for (auto& [hour, values] : hours) byHour[hour % 24].push_back(Median(values));
        for (int h = 0; h < 24; ++h) out[Stations[s].call][h] = Median(byHour[h]);
    }
    return out;
}

class QuestionsTest : public NetworkTest {
  protected:
    void SetUp() override {
        NetworkTest::SetUp();
        if (HasFatalFailure()) return;
        PgConnection conn(server());
        for (std::size_t s = 0; s < std::size(Stations); ++s) {
            addStation(Stations[s].call, Stations[s].locator);
            StationLog log = StationLog::Open(folder_.file(Stations[s].call + ".sqlite"));
            log.addAll(StationReadings(s));
            UploadRequest request;
            request.callsign = Stations[s].call;
            UploadLog(conn, log, request);
        }
    }
    std::vector<std::string> question(std::vector<std::string> args) {
        args.insert(args.end(), {"--server", server("dl1abc"), "--band", "40m", "--from",
                                 "2026-05-01T00:00", "--to", "2026-05-04T00:00"});
        return args;
    }
};

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == ',') out.emplace_back();
        else out.back().push_back(c);
    }
    return out;
}

TEST_F(QuestionsTest, CompareAgainstTheNeighboursWithinTheRadius) {
    const auto expected = ExpectedProfiles();
    const CliResult csv =
        RunNetworkCli(question({"network", "compare", "--station", "DL1ABC", "--format", "csv"}));
    ASSERT_EQ(csv.code, 0) << csv.err;
    std::istringstream lines(csv.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "hour,own_fa_db,others_fa_db,difference_db,stations");
    for (int h = 0; h < 24; ++h) {
        ASSERT_TRUE(std::getline(lines, line));
        const auto f = Split(line);
        ASSERT_EQ(f.size(), 5u) << line;
        std::vector<double> near = {expected.at("DK2XYZ")[h], expected.at("DF3QQ")[h]};
        const double others = Median(near);
        EXPECT_EQ(f[0], std::to_string(h));
        EXPECT_NEAR(std::stod(f[1]), expected.at("DL1ABC")[h], 0.005) << line;
        EXPECT_NEAR(std::stod(f[2]), others, 0.005) << line;
        EXPECT_NEAR(std::stod(f[3]), expected.at("DL1ABC")[h] - others, 0.01) << line;
        EXPECT_EQ(f[4], "2");
    }
    const CliResult text =
        RunNetworkCli(question({"network", "compare", "--station", "dl1abc", "--hours", "12-23"}));
    EXPECT_NE(text.out.find("\n18\u201323 UTC: 8.5 dB above 2 neighbours within 200 km\n"),
              std::string::npos)
        << text.out;
    const CliResult wide = RunNetworkCli(question(
        {"network", "compare", "--station", "DL1ABC", "--radius", "1000", "--format", "csv"}));
    EXPECT_NE(wide.out.find(",3\n"), std::string::npos);
    EXPECT_EQ(RunNetworkCli(question({"network", "compare", "--station", "DL9NO"})).code, 1);
}

TEST_F(QuestionsTest, MapGivesEachSquaresMedianOfItsStations) {
    std::map<std::string, std::vector<double>> squares;
    for (std::size_t s = 0; s < std::size(Stations); ++s) {
        std::vector<double> hourly;
        std::map<UtcSeconds, std::vector<double>> hours;
        for (const LogReading& r : StationReadings(s))
            hours[r.utc / 3600].push_back(NoiseFactorDb(r.fieldDbuVm, r.freqMHz, r.bandwidthHz));
        for (auto& [hour, values] : hours) hourly.push_back(Median(values));
        squares[Stations[s].locator.substr(0, 4)].push_back(Median(hourly));
    }
    const std::string csv = folder_.file("map.csv"), png = folder_.file("map.png");
    ASSERT_EQ(RunNetworkCli(question({"network", "map", "--csv", csv})).code, 0);
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "square,lat,lon,stations,median_fa_db\nJO40,50.5,9.0,3,%.2f\nJO62,52.5,13.0,1,%.2f\n",
                  Median(squares["JO40"]), Median(squares["JO62"]));
    EXPECT_EQ(ReadWholeFile(csv), expected);
    ASSERT_EQ(RunNetworkCli(question({"network", "map", "--png", png})).code, 0);
    EXPECT_EQ(ReadWholeFile(png).substr(1, 3), "PNG");
}

}  // namespace
}  // namespace fw::test
