// floorwatch-cli log export and log to-list on a small hand-made station log.
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <limits>
#include <tuple>

#include "cli_run.h"
#include "stationlog/log_export.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_schema.h"
#include "stationlog/sample_log.h"
#include "stationlog/station_log.h"

namespace fw::cli {
namespace {

using namespace test;
using namespace ::fw::test;

class CliLog : public ::testing::Test {
  protected:
    void SetUp() override {
        StationLog::Open(log_).addAll(SampleReadings());
        savedTz_ = getenv("TZ") ? getenv("TZ") : "";
        hadTz_ = getenv("TZ") != nullptr;
        // Central European time: the USER file's date and time are local.
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override {
        hadTz_ ? setenv("TZ", savedTz_.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

    TempFolder folder_;
    std::string log_ = folder_.file("log.sqlite");
    std::string savedTz_;
    bool hadTz_ = false;
};

// The read commands of the log at `path`; to-list saves to `list`.
std::vector<std::vector<std::string>> Reads(const std::string& path, const std::string& list) {
    return {{"log", "info", "--log", path},
            {"log", "export", "--log", path, "--format", "csv"},
            {"log", "to-list", "--log", path, "--save", list}};
}

const char* const DatabankHeader =
    "band,freq_mhz,h00,h01,h02,h03,h04,h05,h06,h07,h08,h09,h10,h11,h12,h13,h14,h15,h16,h17,"
    "h18,h19,h20,h21,h22,h23\r\n";

TEST_F(CliLog, ExportsASpanToStandardOutputOrWholeToAFile) {
    const std::string csv =
        "utc_time,band,freq_mhz,bandwidth_hz,method,gain_dbi,s_units,antvolt_dbuv,antpower_dbm,"
        "field_dbuvm,source,rig,locator,sdr_n0_dbfs_hz,sdr_segments,sdr_fft,sdr_bins,"
        "occupancy_pct,sdr_percentile,full_scale_samples\r\n"
        "2026-03-01T01:10:00Z,80m,3.65,2700,AntVol,2.15,7.5,25,-82,4,rig,Hamlib Dummy,JO40CQ"
        ",,,,,,,\r\n"
        "2026-03-01T23:59:59Z,20m,14.175,2700,S-Val,0,9,33.98,-73.01,12.25,rig,"
        "\"Rig \"\"A\"\", B\",JO41AA,,,,,,,\r\n";
    const std::vector<std::string> span = {"--from", "2026-03-01T01:00", "--to",
                                           "2026-03-02T00:00"};
    std::vector<std::string> args = {"log", "export", "--log", log_, "--format", "csv"};
    args.insert(args.end(), span.begin(), span.end());
    const CliRun toStdout = Cli(args);
    ASSERT_EQ(toStdout.code, ExitOk) << toStdout.err;
    EXPECT_EQ(toStdout.out, csv);

    const std::string file = folder_.file("export.csv");
    args.insert(args.end(), {"--output", file});
    const CliRun toFile = Cli(args);
    ASSERT_EQ(toFile.code, ExitOk) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(ReadAll(file), csv);

    const CliRun hours = Cli({"log", "export", "--format=databank", "--log", log_});
    ASSERT_EQ(hours.code, ExitOk) << hours.err;
    EXPECT_EQ(hours.out.substr(0, hours.out.find('\n') + 1), DatabankHeader);
}

// Readings whose time lies outside the calendar or whose levels are damaged, and gaps at an
// impossible time, are skipped and counted: never printed, nor taken into a median or list.
TEST_F(CliLog, DamagedReadingsAndGapsAreSkippedAndCounted) {
    const std::vector<std::vector<std::string>> commands = Reads(log_, folder_.file("list.txt"));
    std::vector<CliRun> before;
    for (const auto& c : commands) before.push_back(Cli(c));
    std::vector<LogReading> damaged;
    for (const UtcSeconds t : {std::numeric_limits<UtcSeconds>::min(), UtcSeconds{-1},
                               UtcSeconds{4337154651777544242}}) {
        damaged.push_back(SampleReadings().front());
        damaged.back().utc = t;
    }
    StationLog::Open(log_).addAll(damaged);
    {
        // Written past the program, as a damaged file or another program would have them.
        SqliteDb raw(log_, SqliteDb::Mode::ReadWriteCreate);
        for (const char* set : {"field_dbuvm = 9e999", "field_dbuvm = 'NaN'",
                                "antvolt_dbuv = 'abc'", "bandwidth_hz = 0", "bandwidth_hz = -5",
                                "gain_dbi = -9e999", "freq_mhz = 'x'"})
            raw.exec(std::string("DROP TABLE IF EXISTS one; CREATE TEMP TABLE one AS SELECT * FROM"
                                 " readings WHERE id = 1; UPDATE one SET id = NULL, ") +
                     set + "; INSERT INTO readings SELECT * FROM one");
        raw.exec("INSERT INTO gaps (utc, band, freq_mhz, reason, rig)"
                 " VALUES (-5, '40m', 7.1, 'rig not responding', 'x')");
    }
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const CliRun after = Cli(commands[i]);
        EXPECT_EQ(after.code, before[i].code) << i;
        EXPECT_EQ(after.out, before[i].out) << i;
        EXPECT_EQ(after.err,
                  "3 damaged reading(s) skipped: their time lies outside the years 1970 to 9999.\n"
                  "7 damaged reading(s) skipped: a level is not a finite number, or the frequency"
                  " or bandwidth is not above 0.\n"
                  "1 damaged gap(s) skipped: their time lies outside the years 1970 to 9999.\n")
            << i;
    }
}

// A file of 0 bytes is a new, empty log for every read, which leaves it as it is.
TEST_F(CliLog, AFileOfNoBytesIsAnEmptyLog) {
    const std::string empty = folder_.file("empty.sqlite");
    WriteAll(empty, "");
    const std::vector<CliRun> expected = {
        {ExitOk, "log: " + empty + "\nschema version: " + std::to_string(CurrentSchemaVersion) +
                     "\nquick check: ok\nreadings: 0, no readings yet\ngaps: 0\n", ""},
        {ExitOk, std::string(CsvHeader) + "\r\n", ""},
        {ExitRefused, "", "station log " + empty + ": no readings yet\n"}};
    const auto commands = Reads(empty, folder_.file("list.txt"));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const CliRun r = Cli(commands[i]);
        EXPECT_EQ(std::tie(r.code, r.out, r.err),
                  std::tie(expected[i].code, expected[i].out, expected[i].err));
        EXPECT_EQ(std::filesystem::file_size(empty), 0u);
    }
    EXPECT_FALSE(Exists(folder_.file("list.txt")));
}

// A log with damaged pages, or with a damaged header, ends every read with what SQLite found.
TEST_F(CliLog, ADamagedLogEndsEveryCommandSayingSo) {
    std::vector<LogReading> many(3000, SampleReadings()[0]);
    for (std::size_t i = 0; i < many.size(); ++i) many[i].utc += static_cast<UtcSeconds>(i);
    StationLog::Open(log_).addAll(many);
    const std::string whole = ReadAll(log_);
    const std::size_t page = 4096;
    ASSERT_GT(whole.size(), 20 * page);
    std::string pages = whole;  // every page after the schema's: its header overwritten
    for (std::size_t at = 2 * page; at < pages.size(); at += page)
        pages.replace(at, 20, std::string(20, '\x5a'));
    std::string header = whole;
    header.replace(0, 16, "Not a database!");
    for (const std::string& damaged : {pages, header}) {
        WriteAll(log_, damaged);
        for (const std::vector<std::string>& command : Reads(log_, folder_.file("list.txt"))) {
            const CliRun r = Cli(command);
            EXPECT_EQ(r.code, ExitRefused) << command[1];
            EXPECT_EQ(r.err.rfind("the log is damaged: " + log_ + ": ", 0), 0u) << r.err;
        }
    }
}

// Reads leave nothing beside the log: neither one a writer closed, nor one an older version
// left in WAL mode.
TEST_F(CliLog, ReadsLeaveNoFileBesideTheLog) {
    const std::string old = folder_.file("old.sqlite");
    std::filesystem::copy_file(log_, old);
    SqliteDb(old, SqliteDb::Mode::ReadWriteCreate).exec("PRAGMA journal_mode = WAL");
    ASSERT_EQ(ReadAll(old)[18], 2);  // the header says WAL
    for (const std::string& path : {log_, old}) {
        for (const std::vector<std::string>& command : Reads(path, folder_.file("list.txt"))) {
            EXPECT_EQ(Cli(command).code, ExitOk) << command[1];
            EXPECT_FALSE(Exists(path + "-wal") || Exists(path + "-shm")) << path << command[1];
        }
    }
}

TEST_F(CliLog, ToListWritesEachBandsMedianWithTheLogsLocatorAndTheSpanEnd) {
    const std::string file = folder_.file("medians.txt");
    const CliRun all = Cli({"log", "to-list", "--log", log_, "--save", file});
    ASSERT_EQ(all.code, ExitOk) << all.err;
    EXPECT_EQ(ReadAll(file), "Locator: JO41AA\r\nDateTime: 2026-03-02 01:20\r\n" +
                                 WithSeparator("1;20;1000;Field;-999;-999;-999;-999\r\n"
                                               "3.65;3.75;2700;AntVol;2.15;7.375;24.25;-82.75\r\n"
                                               "14.175;12.25;2700;S-Val;0;9;33.98;-73.01\r\n"));
    EXPECT_EQ(all.out.substr(0, all.out.find('\n')), UserListHeader1);

    const CliRun early =
        Cli({"log", "to-list", "--log", log_, "--to", "2026-03-01T00:30", "--save", file});
    ASSERT_EQ(early.code, ExitOk) << early.err;
    EXPECT_EQ(ReadAll(file), "Locator: JO40CQ\r\nDateTime: 2026-03-01 01:30\r\n" +
                                 WithSeparator("1;20;1000;Field;-999;-999;-999;-999\r\n"
                                               "3.65;1.5;2700;AntVol;2.15;7;22;-85\r\n"));
}

TEST_F(CliLog, RefusesBadInputWithAMessageAndWritesNoFile) {
    const std::string out = folder_.file("out.csv");
    const std::string missing = folder_.file("missing.sqlite");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;  // first line of standard error
    };
    const std::vector<Case> cases = {
        {{"log", "export", "--log", missing, "--format", "csv", "--output", out},
         ExitRefused,
         "station log " + missing + " does not exist"},
        {{"log", "export", "--log", log_, "--format", "csv", "--from", "2026-03-01 00:00",
          "--output", out},
         ExitRefused,
         "--from must be a UTC time written YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SSZ!"},
        {{"log", "export", "--log", log_, "--format", "csv", "--from", "2026-03-02T00:00", "--to",
          "2026-03-01T00:00", "--output", out},
         ExitRefused,
         "--from must lie before --to!"},
        {{"log", "export", "--log", log_, "--format", "csv", "--output",
          folder_.file("no/such/folder/out.csv")},
         ExitRefused,
         ""},
        {{"log", "to-list", "--log", log_, "--from", "2030-01-01T00:00", "--save", out},
         ExitRefused,
         "No readings in the station log for that span"},
        {{"log", "export", "--log", log_, "--format", "json", "--output", out},
         ExitUsage,
         "floorwatch-cli: --format must be csv, databank or gaps"},
        {{"log", "--log", log_, "--output", out},
         ExitUsage,
         "floorwatch-cli: log needs export, to-list, compare, report, info or station"},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[1] << " " << c.message;
        if (!c.message.empty()) {
            EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.message);
        }
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(Exists(out)) << c.message;
    }
    EXPECT_FALSE(Exists(missing));

    // Neither writes over the log it reads.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"log", "export", "--log", log_, "--format", "csv", "--output",
                                   log_},
          std::vector<std::string>{"log", "to-list", "--log", log_, "--save", log_}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitRefused);
        EXPECT_NE(r.err.find("must not name the station log itself"), std::string::npos);
    }
    StationLog log = StationLog::Open(log_, StationLog::OpenMode::ReadOnly);
    EXPECT_EQ(ReadingsIn(log, {}).size(), SampleReadings().size());
}

TEST_F(CliLog, InfoSummarisesTheLogAndEachBandsReadingsAndGaps) {
    StationLog::Open(log_).addGap(
        {At("2026-03-01T00:50"), "40m", 7.1, "rig not responding", "Hamlib Dummy"});
    const CliRun all = Cli({"log", "info", "--log", log_});
    ASSERT_EQ(all.code, ExitOk) << all.err;
    EXPECT_EQ(all.out,
              "log: " + log_ +
                  "\nschema version: " + std::to_string(CurrentSchemaVersion) +
                  "\n"
                  "quick check: ok\n"
                  "readings: 6, from 2026-03-01T00:10:00Z to 2026-03-02T00:20:00Z\n"
                  "gaps: 1\n"
                  "band   readings  first reading         last reading          gaps  first gap"
                  "             last gap\n"
                  "1 MHz  1         2026-03-01T00:15:00Z  2026-03-01T00:15:00Z  0     -"
                  "                     -\n"
                  "80m    4         2026-03-01T00:10:00Z  2026-03-02T00:20:00Z  0     -"
                  "                     -\n"
                  "40m    0         -                     -                     1     "
                  "2026-03-01T00:50:00Z  2026-03-01T00:50:00Z\n"
                  "20m    1         2026-03-01T23:59:59Z  2026-03-01T23:59:59Z  0     -"
                  "                     -\n");
    // The export's own time form bounds the span to the second.
    const CliRun late = Cli({"log", "info", "--log", log_, "--from", "2026-03-01T23:59:59Z"});
    ASSERT_EQ(late.code, ExitOk) << late.err;
    EXPECT_NE(late.out.find("readings: 2, from 2026-03-01T23:59:59Z to 2026-03-02T00:20:00Z\n"),
              std::string::npos)
        << late.out;
    EXPECT_EQ(late.out.find("40m"), std::string::npos);
}

TEST_F(CliLog, ToListConvertsEveryReadingToTheBandwidthAsked) {
    const std::string file = folder_.file("medians.txt");
    const CliRun r = Cli({"log", "to-list", "--log", log_, "--bandwidth", "1000", "--save", file});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    // 1 MHz was read at 1000 Hz and stays whole; 80 m and 20 m lose 10 log(2.7) dB.
    const std::string saved = ReadAll(file);
    EXPECT_NE(saved.find(WithSeparator("1;20;1000;Field;")), std::string::npos) << saved;
    EXPECT_NE(saved.find(WithSeparator("3.65;-0.56")), std::string::npos) << saved;
    EXPECT_NE(saved.find(WithSeparator("14.175;7.93")), std::string::npos) << saved;
    EXPECT_EQ(saved.find(";2700;"), std::string::npos) << saved;
    // The bandwidth box's limits hold, not a narrower range of this command's own.
    const CliRun wide =
        Cli({"log", "to-list", "--log", log_, "--bandwidth", "2000000", "--save", file});
    ASSERT_EQ(wide.code, ExitOk) << wide.err;
    EXPECT_NE(ReadAll(file).find(";2000000;Field;"), std::string::npos) << ReadAll(file);
    for (const std::string given : {"0", "-100"}) {
        const CliRun run =
            Cli({"log", "to-list", "--log", log_, "--bandwidth", given, "--save", file});
        EXPECT_EQ(run.code, ExitRefused);
        EXPECT_EQ(run.err,
                  "the bandwidth must lie between 1 and 2147483647 Hz, not " + given + "\n");
    }
}

}  // namespace
}  // namespace fw::cli
