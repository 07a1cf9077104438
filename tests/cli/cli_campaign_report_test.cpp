// floorwatch-cli log report: the campaign report written as a PDF and read back.
#include "cli_run.h"
#include "pdf_text.h"
#include "stationlog/sample_log.h"
#include "stationlog/station_log.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace fw::cli {
namespace {

using namespace test;
using namespace ::fw::test;

// What a shell command writes on its standard output.
std::string RunOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 256> buf{};
    while (fgets(buf.data(), buf.size(), pipe)) out += buf.data();
    pclose(pipe);
    return out;
}

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

TEST_F(CliCampaignReport, SummaryBandsComparisonGapsAndMethodPagesReadBackFromThePdf) {
    ASSERT_EQ(Cli({"log", "station", "--log", log_, "--callsign", "DL1ABC", "--address",
                   "Hauptstr. 1\n12345 Musterstadt", "--antenna", "Dipole, 8 m high"})
                  .code,
              ExitOk);
    {
        StationLog log = StationLog::Open(log_);
        for (int i = 0; i < 3; ++i)
            log.addGap({At("2026-03-02T10:00") + i * 600, "40m", 7.1, "rig not responding", "R"});
        log.addGap({At("2026-03-04T10:00"), "80m", 3.65, "band not tunable", "R"});
    }
    const std::string sum = RunOutput("sha256sum '" + log_ + "'").substr(0, 64);
    const CliRun r = Cli({"log", "report", "--log", log_, "--before",
                          "2026-03-01T00:00/2026-03-07T00:00", "--after",
                          "2026-03-07T00:00/2026-03-13T00:00", "--pdf", pdf_});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    // Summary (two pages), one page per band, the comparison, the gaps and the method; no
    // raster image.
    const std::string info = Squeezed(PdfInfo(pdf_));
    EXPECT_NE(info.find("Pages: 7\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Title: Noise Campaign Report\n"), std::string::npos) << info;
    EXPECT_NE(PdfInfo(pdf_).find("595 x 842 pts (A4)"), std::string::npos);
    EXPECT_EQ(RunOutput("pdfimages -list '" + pdf_ + "' | tail -n +3"), "");
    // Lines joined, so that a phrase may wrap.
    std::string text = PdfText(pdf_);
    std::replace(text.begin(), text.end(), '\n', ' ');
    text = Squeezed(text);
    std::size_t at = 0;
    for (const std::string& expected : std::vector<std::string>{
             "Campaign Report generated on", "Callsign: DL1ABC", "Address: Hauptstr. 1",
             "12345 Musterstadt", "Antenna: Dipole, 8 m high", "Locator(s): JO40CQ",
             "File: log.sqlite", "SHA-256: " + sum, "Integrity check: ok",
             "Whole report: 2026-03-01 00:00 to 2026-03-13 00:00 UTC",
             "912 readings, the first 2026-03-01T00:00:00Z, the last 2026-03-12T23:40:00Z; 4 gaps",
             "Hamlib Dummy (rig), 2.15 dBi, calibration unknown, 2700 Hz", "typed, 0 dBi, 500 Hz",
             "80m 3.650 48 48 2 1", "40m 7.100 864 288 12 3",
             "Gaps 80m: 1 x band not tunable", "Gaps 40m: 3 x rig not responding",
             "Before: 2026-03-01 00:00 to 2026-03-07 00:00 UTC", "80m 3.650 48 48 2 1",
             "40m 7.100 432 144 6 3", "After: 2026-03-07 00:00 to 2026-03-13 00:00 UTC",
             "40m 7.100 432 144 6 0", "Page 1 of 7",
             "80m (3.65 MHz): 2 days, 48 hours with values", "Fa in dB above kT0b",
             "40m (7.1 MHz): 12 days, 288 hours with values", "before", "after",
             "Before and after", "80m: too few days to compare (2 before, 0 after",
             "40m: +6.0 dB", "p = 0.00", "drift by", "Gaps",
             "2026-03-02 10:00 to 2026-03-02 10:20 40m rig not responding (3 gaps)",
             "2026-03-04 10:00 80m band not tunable", "How these figures were made", "98.9",
             "half-wave", "95.5", "Page 7 of 7"}) {
        // Numbers in the regional settings' decimal separator, as in the printed report.
        const std::size_t found = text.find(WithSeparator(expected), at);
        EXPECT_NE(found, std::string::npos) << expected << "\n" << text;
        if (found != std::string::npos) at = found;
    }
}

TEST_F(CliCampaignReport, TheStationIsSetClearedAndShownWithoutWritingOnARead) {
    const struct {
        std::vector<std::string> options;
        int code;
        const char* out;
    } steps[] = {
        {{}, ExitOk, "no station details in "},
        {{"--callsign", "DL1ABC", "--operator", "Erika"}, ExitOk,
         "Callsign: DL1ABC\nOperator: Erika\n"},
        {{"--operator", "", "--notes", "roof"}, ExitOk, "Callsign: DL1ABC\nNotes: roof\n"},
        {{"--callsign", std::string(21, 'A')}, ExitRefused, ""},
        {{}, ExitOk, "Callsign: DL1ABC\nNotes: roof\n"},
    };
    for (const auto& step : steps) {
        const auto logBytes = ReadAll(log_);
        std::vector<std::string> args = {"log", "station", "--log", log_};
        args.insert(args.end(), step.options.begin(), step.options.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, step.code) << r.err;
        EXPECT_EQ(r.out.substr(0, std::string(step.out).size()), step.out);
        if (step.options.empty()) {
            EXPECT_EQ(ReadAll(log_), logBytes);
        }
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
    // Spans that overlap, that reach outside --from/--to, or one without readings.
    const struct {
        std::vector<std::string> options;
        const char* message;
    } refused[] = {
        {{"--before", "2026-03-01T00:00/2026-03-03T00:00", "--after",
          "2026-03-02T00:00/2026-03-05T00:00"},
         "Cannot compare: the before and after spans overlap from 2026-03-02 00:00 to "
         "2026-03-03 00:00 UTC"},
        {{"--from", "2026-03-02T00:00", "--before", "2026-03-01T00:00/2026-03-03T00:00",
          "--after", "2026-03-03T00:00/2026-03-05T00:00"},
         "must lie within the report's span"},
        {{"--before", "2026-03-01T00:00/2026-03-03T00:00", "--after",
          "2026-03-16T00:00/2026-03-18T00:00"},
         "no readings in the after span"},
    };
    for (const auto& c : refused) {
        std::vector<std::string> args = {"log", "report", "--log", log_, "--pdf", pdf_};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitRefused);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(Exists(pdf_));
    }
}

}  // namespace
}  // namespace fw::cli
