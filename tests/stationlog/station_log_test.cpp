#include "stationlog/station_log.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <cmath>
#include <fstream>
#include <limits>

#include "sample_log.h"
#include "support/ordinary_user.h"
#include "support/read_file.h"
#include "stationlog/log_export.h"
#include "stationlog/log_path.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_schema.h"

namespace fw {
namespace {

using namespace test;

TEST(StationLog, ANewLogIsInWalModeWhileOpenAtTheCurrentSchemaAndKeepsReadingsAndGapsWhole) {
    TempFolder folder;
    const std::string path = folder.file("log.sqlite");
    const std::vector<LogReading> sample = SampleReadings();
    {
        StationLog log = StationLog::Open(path);
        for (const LogReading& r : sample) log.add(r);
        log.addGap({At("2026-03-01T00:50"), "40m", 7.1, "rig not responding", "Hamlib Dummy"});
        EXPECT_EQ(SqliteDb(path, SqliteDb::Mode::ReadOnly).queryText("PRAGMA journal_mode"),
                  "wal");
    }
    // Made whole under another name and linked in place: nothing else is left behind, and
    // the closed log is in rollback-journal mode.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("")), {}), 1);
    SqliteDb raw(path, SqliteDb::Mode::ReadWriteCreate);
    EXPECT_EQ(raw.queryText("PRAGMA journal_mode"), "delete");
    EXPECT_EQ(SchemaVersion(raw), CurrentSchemaVersion);

    StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
    std::vector<LogReading> byTime = sample;
    std::stable_sort(byTime.begin(), byTime.end(),
                     [](const LogReading& a, const LogReading& b) { return a.utc < b.utc; });
    EXPECT_EQ(ReadingsIn(log, {}), byTime);
    ASSERT_EQ(GapsIn(log, {}).size(), 1u);
    EXPECT_EQ(GapsIn(log, {})[0].reason, "rig not responding");
    const LogExtent extent = ExtentOf(log);
    EXPECT_EQ(extent.readings, 6);
    EXPECT_EQ(extent.gaps, 1);
    EXPECT_EQ(extent.first, sample.front().utc);
    EXPECT_EQ(extent.last, sample.back().utc);
}

TEST(StationLog, RefusesFilesItCannotUseWithAMessageNamingThemAndChangesNothing) {
    TempFolder folder;
    const std::string text = folder.file("notes.txt");
    std::ofstream(text) << "not a database, just some text that is long enough to be a header";
    const std::string foreign = folder.file("foreign.sqlite");
    SqliteDb(foreign, SqliteDb::Mode::ReadWriteCreate).exec("CREATE TABLE t (x)");
    const std::string newer = folder.file("newer.sqlite");
    {
        SqliteDb db(newer, SqliteDb::Mode::ReadWriteCreate);
        MigrateSchema(db);
        db.exec("PRAGMA user_version = " + std::to_string(CurrentSchemaVersion + 1));
    }
    struct Case {
        std::string path;
        StationLog::OpenMode mode;
        std::string message;
    };
    const std::vector<Case> cases = {
        {folder.file("missing.sqlite"), StationLog::OpenMode::ReadOnly,
         "station log " + folder.file("missing.sqlite") + " does not exist"},
        {folder.file(""), StationLog::OpenMode::ReadOnly,
         "station log " + folder.file("") + " is a folder, not a file"},
        {folder.file("no/such/folder/log.sqlite"), StationLog::OpenMode::CreateIfMissing,
         "station log " + folder.file("no/such/folder/log.sqlite") +
             ": cannot open: unable to open database file"},
        {text, StationLog::OpenMode::ReadOnly,
         "the log is damaged: " + text + ": file is not a database"},
        {foreign, StationLog::OpenMode::ReadOnly,
         "station log " + foreign + ": the file is not a station log"},
        {newer, StationLog::OpenMode::ReadOnly,
         "station log " + newer +
             ": the file was written by a newer version of Floorwatch (schema " +
             std::to_string(CurrentSchemaVersion + 1) + ", this one reads " +
             std::to_string(CurrentSchemaVersion) + " and older)"},
    };
    for (const Case& c : cases) {
        try {
            StationLog::Open(c.path, c.mode);
            ADD_FAILURE() << c.path << " was opened";
        } catch (const LogError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing.sqlite")));
    EXPECT_EQ(SqliteDb(foreign, SqliteDb::Mode::ReadWriteCreate).queryInt("PRAGMA user_version"),
              0);
}

TEST(StationLog, ReadingNeverWritesTheFileAndRefusesWhatIsNotALogUnchanged) {
    TempFolder folder;
    const std::string foreign = folder.file("foreign.sqlite");
    SqliteDb(foreign, SqliteDb::Mode::ReadWriteCreate).exec("CREATE TABLE t (x)");
    const std::string empty = folder.file("empty.sqlite");
    std::ofstream{empty};
    const std::string log = folder.file("log.sqlite");
    StationLog::Open(log).addAll(SampleReadings());
    struct Case {
        std::string path;
        std::string refusal;  // empty: the log is read
        std::size_t readings = 0;
    };
    const std::vector<Case> cases = {
        {foreign, "station log " + foreign + ": the file is not a station log"},
        {empty, "", 0},  // a new log that nothing was written to yet
        {log, "", SampleReadings().size()},
    };
    for (const Case& c : cases) {
        const std::string before = ReadWholeFile(c.path);
        try {
            StationLog read = StationLog::Open(c.path, StationLog::OpenMode::ReadOnly);
            EXPECT_EQ(ReadingsIn(read, {}).size(), c.readings);
            EXPECT_THROW(read.add(SampleReadings()[0]), LogError);
            EXPECT_EQ(c.refusal, "");
        } catch (const LogError& e) {
            EXPECT_EQ(e.what(), c.refusal);
        }
        EXPECT_EQ(ReadWholeFile(c.path), before) << c.path;
    }
    // The writer, too, refuses another program's file before switching its journal.
    EXPECT_THROW(StationLog::Open(foreign), LogError);
    EXPECT_EQ(SqliteDb(foreign, SqliteDb::Mode::ReadOnly).queryText("PRAGMA journal_mode"),
              "delete");
}

TEST(StationLog, ALogInAFolderNoOneMayWriteIsReadWhole) {
    TempFolder folder;
    const std::string path = folder.file("log.sqlite");
    StationLog::Open(path).addAll(SampleReadings());
    const std::string before = ReadWholeFile(path);
    // Readable by everyone, writable by no ordinary user (root's children drop to one).
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(path).parent_path();
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    fs::permissions(path, fs::perms::others_read | fs::perms::group_read, fs::perm_options::add);
    const std::string report = RunAsOrdinaryUser([&]() -> std::string {
        try {
            StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
            const auto n = ReadingsIn(log, {}).size();
            return n == SampleReadings().size() ? "" : std::to_string(n) + " readings";
        } catch (const LogError& e) {
            return e.what();
        }
    });
    fs::permissions(dir, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(report, "");
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
}

// Another account's read leaves nothing beside the owner's log; where files of another
// account stand there all the same, the owner's writer names the one it may not write.
TEST(StationLog, AReadOfAnotherAccountLeavesNothingAndAForeignFileIsNamed) {
    SharedTempDir dir;
    const std::string path = dir.file("log.sqlite");
    const auto write = [&]() -> std::string {
        try {
            StationLog::Open(path).addAll(SampleReadings());
            return "";
        } catch (const LogError& e) {
            return e.what();
        }
    };
    ASSERT_EQ(RunAsOrdinaryUser(write), "");
    StationLog read = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
    EXPECT_EQ(ReadingsIn(read, {}).size(), SampleReadings().size());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(RunAsOrdinaryUser(write), "");
    std::ofstream(path + "-wal");  // as an older version's read left it
    const std::string refusal = RunAsOrdinaryUser(write);
    EXPECT_NE(refusal.find(path + "-wal belongs to root and may not be written by nobody"),
              std::string::npos) << refusal;
}

TEST(StationLog, AFileOfTheFirstSchemaIsBroughtUpToDateWithItsReadings) {
    TempFolder folder;
    const std::string path = folder.file("v1.sqlite");
    {
        SqliteDb db(path, SqliteDb::Mode::ReadWriteCreate);
        MigrateSchema(db, 1);
        // Written as the first version's program wrote them.
        db.exec(
            "INSERT INTO readings (utc, band, freq_mhz, bandwidth_hz, method, gain_dbi, s_units,"
            " antvolt_dbuv, antpower_dbm, field_dbuvm, source, rig, locator) VALUES"
            " (1772323800, '80m', 3.65, 2700, 'AntVol', 2.15, 7, 22, -85, 1.5, 'rig', 'R', "
            "'JO40CQ');"
            "INSERT INTO gaps (utc, band, freq_mhz, reason, rig) VALUES"
            " (1772323900, '40m', 7.1, 'rig not responding', 'R');");
        ASSERT_EQ(SchemaVersion(db), 1);
    }
    // A reader reads the file as it is; the monitor or the entry logging brings it up to date.
    {
        StationLog read = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
        EXPECT_EQ(ReadingsIn(read, {}).size(), 1u);
        EXPECT_EQ(SchemaVersion(read.database()), 1);
    }
    StationLog log = StationLog::Open(path);
    EXPECT_EQ(SchemaVersion(log.database()), CurrentSchemaVersion);
    ASSERT_EQ(ReadingsIn(log, {}).size(), 1u);
    EXPECT_EQ(ReadingsIn(log, {})[0].fieldDbuVm, 1.5);
    EXPECT_EQ(GapsIn(log, {}).size(), 1u);
    // The views' query now reads the per-band index only.
    SqliteStatement plan(log.database(),
                         "EXPLAIN QUERY PLAN SELECT utc, field_dbuvm, bandwidth_hz FROM readings"
                         " WHERE band = '80m' AND utc >= 0 AND utc < 2000000000");
    ASSERT_TRUE(plan.step());
    EXPECT_NE(plan.text(3).find("COVERING INDEX readings_by_band"), std::string::npos)
        << plan.text(3);
}

TEST(StationLog, AFileOfTheSecondSchemaKeepsEveryRowIdAndIndexAndTakesSdrReadings) {
    TempFolder folder;
    const std::string path = folder.file("v2.sqlite");
    {
        // The tables as the second version's program made them (its steps are kept
        // unchanged), and readings as it wrote them, with holes in the ids.
        SqliteDb db(path, SqliteDb::Mode::ReadWriteCreate);
        MigrateSchema(db, 2);
        db.exec("INSERT INTO readings VALUES"
                " (3, 1772323800, '80m', 3.65, 2700, 'AntVol', 2.15, 7, 22, -85, 1.5, 'rig', 'R',"
                " 'JO40CQ'),"
                " (8, 1772323900, '', 1, 1000, 'Field', -999, -999, -999, -999, 20, 'typed', '',"
                " '')");
    }
    StationLog log = StationLog::Open(path);
    SqliteDb& db = log.database();
    EXPECT_EQ(SchemaVersion(db), CurrentSchemaVersion);
    EXPECT_EQ(db.queryText("SELECT group_concat(id || source || field_dbuvm, ' ') FROM"
                           " (SELECT * FROM readings ORDER BY id)"),
              "3rig1.5 8typed20.0");
    EXPECT_EQ(db.queryText("SELECT group_concat(name) FROM (SELECT name FROM sqlite_master"
                           " WHERE type = 'index' AND tbl_name = 'readings' ORDER BY name)"),
              "readings_by_band,readings_by_time");

    LogReading sdr = SampleReadings()[0];
    sdr.source = ReadingSource::Sdr;
    sdr.rig = "Floorwatch test SDR";
    sdr.utc = At("2026-03-03T00:00");
    log.add(sdr);
    EXPECT_EQ(ReadingsIn(log, {}).back(), sdr);
    EXPECT_THROW(db.exec("UPDATE readings SET source = 'guess' WHERE id = 3"), LogError);
}

// An older log is read as it is and keeps estimates once written, exported in the last columns.
TEST(StationLog, AFileOfTheThirdSchemaIsReadAsItIsAndKeepsEstimatesOnceWritten) {
    TempFolder folder;
    const std::string path = folder.file("v3.sqlite");
    LogReading typed = SampleReadings()[1], sdr = SampleReadings()[0];
    {
        SqliteDb db(path, SqliteDb::Mode::ReadWriteCreate);
        MigrateSchema(db, 3);
        db.exec("INSERT INTO readings VALUES (1, " + std::to_string(typed.utc) +
                ", '', 1, 1000, 'Field', -999, -999, -999, -999, 20, 'typed', '', 'JO40CQ')");
    }
    StationLog read = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
    EXPECT_EQ(ReadingsIn(read, {}), std::vector<LogReading>{typed});
    StationLog log = StationLog::Open(path);
    sdr.estimate = SdrEstimate{-152.3125, 61, 32768, 26206, 3.25, 5, 17};
    log.addAll(std::vector<LogReading>{sdr, typed});  // the typed row's estimate stays empty
    EXPECT_EQ(ReadingsIn(log, {}), (std::vector<LogReading>{sdr, typed, typed}));
    std::string csv;
    WriteLogExport(log, {}, LogExportFormat::Csv, [&](std::string_view s) { return csv += s, true; });
    EXPECT_NE(csv.find("Dummy,JO40CQ,-152.3125,61,32768,26206,3.25,5,17\r\n2026"), std::string::npos);
}

TEST(StationLog, AReadingWithANonFiniteValueIsRefusedAndABatchIsAllOrNothing) {
    TempFolder folder;
    StationLog log = StationLog::Open(folder.file("log.sqlite"));
    std::vector<LogReading> batch = SampleReadings();
    batch[3].fieldDbuVm = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(log.addAll(batch), LogError);
    EXPECT_THROW(log.add(batch[3]), LogError);
    batch[3].fieldDbuVm = std::numeric_limits<double>::infinity();
    EXPECT_THROW(log.add(batch[3]), LogError);
    EXPECT_TRUE(ReadingsIn(log, {}).empty());
    batch[3].fieldDbuVm = 4;
    log.addAll(batch);
    EXPECT_EQ(ReadingsIn(log, {}).size(), batch.size());
}

TEST(StationLog, DefaultPathFollowsTheXdgDataFolder) {
    struct Case {
        const char* xdg;
        const char* home;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"/data", "/home/op", "/data/Floorwatch/station-log.sqlite"},
        {"relative/data", "/home/op", "/home/op/.local/share/Floorwatch/station-log.sqlite"},
        {nullptr, "/home/op", "/home/op/.local/share/Floorwatch/station-log.sqlite"},
        {nullptr, nullptr, ""},
    };
    const std::string oldXdg = getenv("XDG_DATA_HOME") ? getenv("XDG_DATA_HOME") : "";
    const std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
    for (const Case& c : cases) {
        c.xdg ? setenv("XDG_DATA_HOME", c.xdg, 1) : unsetenv("XDG_DATA_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(DefaultStationLogPath(), c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
    oldXdg.empty() ? unsetenv("XDG_DATA_HOME") : setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    setenv("HOME", oldHome.c_str(), 1);
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

// Under a German C locale "%g" writes "3,6"; a band label does not follow it.
TEST(BandLabels, AFreeFrequencysLabelIsTheSameUnderAnyCLocale) {
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 not installed";
    const std::string label = BandLabel({"", 3.6});
    const std::string round = BandLabel({"", 7.12345678});
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(label, "3.6 MHz");
    EXPECT_EQ(round, "7.12346 MHz");
    EXPECT_EQ(BandLabel({"40m", 7.1}), "40m");
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

TEST(StationLog, KeepsASignatureBesideItsReadingWithAbsentRatesAsNull) {
    StationLog log = StationLog::Open(":memory:");
    const auto readings = SampleReadings();
    LogSignature comb{1.07, std::nullopt, 25.0, 7, "comb", {36.5, 4.1, 0.2, 0, 0}};
    LogSignature bursts{4.2, 100.0, std::nullopt, 0, "impulsive", {20, 9, 5, 2, 1}};
    log.add(readings[0], comb);
    log.add(readings[1]);
    log.add(readings[2], bursts);
    const auto found = log.signatures(readings[0].utc, readings[2].utc + 1);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].signature, comb);
    EXPECT_EQ(found[1].signature, bursts);
    EXPECT_TRUE(log.signatures(readings[2].utc + 1, readings[2].utc + 2).empty());
}

}  // namespace
}  // namespace fw
