#include "stationlog/log_export.h"

#include <gtest/gtest.h>

#include "sample_log.h"

namespace fw {
namespace {

using namespace test;

std::string Csv(StationLog& log, const LogSpan& span,
                LogExportFormat format = LogExportFormat::Csv) {
    std::string text;
    EXPECT_TRUE(WriteLogExport(log, span, format, [&](std::string_view piece) {
        text += piece;
        return true;
    }));
    return text;
}

class LogExport : public ::testing::Test {
  protected:
    void SetUp() override { log_.addAll(SampleReadings()); }

    TempFolder folder_;
    StationLog log_ = StationLog::Open(folder_.file("log.sqlite"));
};

TEST_F(LogExport, CsvHasOneRfc4180LinePerReadingInTimeOrder) {
    EXPECT_EQ(Csv(log_, {}),
              "utc_time,band,freq_mhz,bandwidth_hz,method,gain_dbi,s_units,antvolt_dbuv,"
              "antpower_dbm,field_dbuvm,source,rig,locator,sdr_n0_dbfs_hz,sdr_segments,sdr_fft,"
              "sdr_bins,occupancy_pct,sdr_percentile,full_scale_samples\r\n"
              "2026-03-01T00:10:00Z,80m,3.65,2700,AntVol,2.15,7,22,-85,1.5,rig,Hamlib Dummy,"
              "JO40CQ,,,,,,,\r\n"
              "2026-03-01T00:15:00Z,,1,1000,Field,-999,-999,-999,-999,20,typed,,JO40CQ,,,,,,,\r\n"
              "2026-03-01T00:40:00Z,80m,3.65,2700,AntVol,2.15,8,28,-79,7.5,rig,Hamlib Dummy,"
              "JO40CQ,,,,,,,\r\n"
              "2026-03-01T01:10:00Z,80m,3.65,2700,AntVol,2.15,7.5,25,-82,4,rig,Hamlib Dummy,"
              "JO40CQ,,,,,,,\r\n"
              "2026-03-01T23:59:59Z,20m,14.175,2700,S-Val,0,9,33.98,-73.01,12.25,rig,"
              "\"Rig \"\"A\"\", B\",JO41AA,,,,,,,\r\n"
              "2026-03-02T00:20:00Z,80m,3.65,2700,AntVol,2.15,7.25,23.5,-83.5,3.5,rig,"
              "Hamlib Dummy,,,,,,,,\r\n");
}

TEST_F(LogExport, GapsHaveOneLinePerGapInTimeOrderWithinTheSpan) {
    log_.addGap({At("2026-03-01T02:00"), "", 5.3, "rig not responding", "Rig \"A\", B"});
    log_.addGap({At("2026-03-01T01:00"), "40m", 7.1, "no S-meter reading", "Hamlib Dummy"});
    const std::string header = "utc_time,band,freq_mhz,reason,rig\r\n";
    const std::string early = "2026-03-01T01:00:00Z,40m,7.1,no S-meter reading,Hamlib Dummy\r\n";
    EXPECT_EQ(Csv(log_, {}, LogExportFormat::Gaps),
              header + early +
                  "2026-03-01T02:00:00Z,,5.3,rig not responding,\"Rig \"\"A\"\", B\"\r\n");
    EXPECT_EQ(Csv(log_, {std::nullopt, At("2026-03-01T02:00")}, LogExportFormat::Gaps),
              header + early);
    EXPECT_EQ(Csv(log_, {At("2026-03-02T00:00"), std::nullopt}, LogExportFormat::Gaps), header);
}

TEST_F(LogExport, DatabankHoldsTheMedianFaOfEachUtcHourPerBand) {
    // 80 m in hour 0: 1.5, 7.5 and 3.5 dB(uV/m), median 3.5; Fa = E - 20 log 3.65
    // - 10 log 2700 + 98.9. The free frequency: 20 - 0 - 30 + 98.9.
    const std::string empty22(22, ',');
    EXPECT_EQ(DatabankText(QueryDatabank(log_, {})),
              "band,freq_mhz,h00,h01,h02,h03,h04,h05,h06,h07,h08,h09,h10,h11,h12,h13,h14,h15,"
              "h16,h17,h18,h19,h20,h21,h22,h23\r\n"
              ",1,88.90" +
                  std::string(23, ',') +
                  "\r\n"
                  "80m,3.65,56.84,57.34" +
                  empty22 +
                  "\r\n"
                  "20m,14.175" +
                  empty22 + ",,53.81\r\n");
    EXPECT_EQ(DatabankText(QueryDatabank(log_, {At("2026-03-01T01:00"), std::nullopt})),
              DatabankText(ComputeDatabank(std::vector<LogReading>{
                  SampleReadings()[3], SampleReadings()[4], SampleReadings()[5]})));
}

TEST(CsvField, QuotesOnlyWhatRfc4180Requires) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"80m", "80m"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
    };
    for (const auto& [text, expected] : cases) {
        std::string out;
        AppendCsvField(out, text);
        EXPECT_EQ(out, expected);
    }
}

TEST(CsvNumber, WritesThePointAndTheFewestDigitsThatReadBack) {
    const std::vector<std::pair<double, std::string>> cases = {
        {2700, "2700"},
        {-999, "-999"},
        {3.65, "3.65"},
        {0.1 + 0.2, "0.30000000000000004"},
        {13.298542065735, "13.298542065735"},
        {-0.0, "0"},
        {1e-7, "0.0000001"},
    };
    for (const auto& [value, expected] : cases) {
        std::string out;
        AppendCsvNumber(out, value);
        EXPECT_EQ(out, expected);
    }
}

}  // namespace
}  // namespace fw
