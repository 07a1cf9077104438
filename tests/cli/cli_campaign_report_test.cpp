// floorwatch-cli log report: the campaign report written as a PDF and read back.
#include "cli_run.h"
#include "pdf_text.h"
#include "stationlog/sample_log.h"
#include "stationlog/station_log.h"

namespace fw::cli {
namespace {

using namespace test;
using namespace ::fw::test;

// 40m every 20 minutes for twelve days, 6 dB louder from the seventh day on, from a rig;
// 80m typed in the first two days.
class CliCampaignReport : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<LogReading> readings;
        const UtcSeconds start = At("2026-03-01T00:00");
        for (UtcSeconds t = start; t < start + 12 * 86400; t += 1200) {
            const double shift = t >= start + 6 * 86400 ? 6 : 0;
            const double field = 5 + shift + static_cast<double>(t / 1200 % 7);
            readings.push_back(LogReading{t, "40m", 7.1, 2700, "AntVol", 2.15, 0, 0, 0, field,
                                          ReadingSource::Rig, "Hamlib Dummy", "JO40CQ"});
            if (t < start + 2 * 86400 && t % 3600 == 0)
                readings.push_back(LogReading{t, "80m", 3.65, 500, "Field", 0, 0, 0, 0, 12,
                                              ReadingSource::Typed, "", "JO40CQ"});
        }
        StationLog::Open(log_).addAll(readings);
    }

    TempFolder folder_;
    std::string log_ = folder_.file("log.sqlite");
    std::string pdf_ = folder_.file("report.pdf");
};

TEST_F(CliCampaignReport, SummaryBandsComparisonAndMethodPagesReadBackFromThePdf) {
    const CliRun r = Cli({"log", "report", "--log", log_, "--before",
                          "2026-03-01T00:00/2026-03-07T00:00", "--after",
                          "2026-03-07T00:00/2026-03-13T00:00", "--pdf", pdf_});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    // Summary, one page per band, the comparison and its overlaid profiles, the method.
    const std::string info = Squeezed(PdfInfo(pdf_));
    EXPECT_NE(info.find("Pages: 6\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Title: Noise Campaign Report\n"), std::string::npos) << info;
    EXPECT_NE(PdfInfo(pdf_).find("595 x 842 pts (A4)"), std::string::npos);
    const std::string text = PdfText(pdf_);
    std::size_t at = 0;
    for (const char* expected :
         {"Campaign Report generated on", "Station locator(s): JO40CQ",
          "Rig or SDR: Hamlib Dummy (rig), typed", "Antenna gain(s): 0 dBi, 2.15 dBi",
          "Bandwidth(s): 500 Hz, 2700 Hz", "Span: 2026-03-01 00:00 to 2026-03-13 00:00 UTC",
          "Readings: 912, gaps: 0", "80m 3.650 48", "40m 7.100 288", "Page 1 of 6",
          "80m (3.65 MHz): 48 hourly values", "Page 2 of 6", "40m (7.1 MHz): 288 hourly values",
          "Before and after", "80m: too few days to compare (2 before, 0 after",
          "40m: +6.0 dB", "p = 0.00", "40m: before and after", "How these figures were made",
          "Page 6 of 6"}) {
        // Numbers in the regional settings' decimal separator, as in the printed report.
        const std::size_t found = text.find(WithSeparator(expected), at);
        EXPECT_NE(found, std::string::npos) << expected << "\n" << text;
        if (found != std::string::npos) at = found;
    }
}

TEST_F(CliCampaignReport, RefusesAnEmptySpanTheLogItselfAndOneSidedComparison) {
    const CliRun empty = Cli({"log", "report", "--log", log_, "--from", "2027-01-01T00:00",
                              "--pdf", pdf_});
    EXPECT_EQ(empty.code, ExitRefused);
    EXPECT_NE(empty.err.find("No readings in the station log for that span"), std::string::npos);
    EXPECT_FALSE(Exists(pdf_));
    const CliRun itself = Cli({"log", "report", "--log", log_, "--pdf", log_});
    EXPECT_EQ(itself.code, ExitRefused);
    EXPECT_NE(itself.err.find("--pdf must not name the station log itself"), std::string::npos);
    EXPECT_EQ(Cli({"log", "report", "--log", log_, "--before", "2026-03-01T00:00/2026-03-03T00:00",
                   "--pdf", pdf_})
                  .code,
              ExitUsage);
}

}  // namespace
}  // namespace fw::cli
