// The station's details kept in the log, and the notice while another program holds the log.
#include "stationlog/station_details.h"

#include <gtest/gtest.h>

#include "sample_log.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_schema.h"

namespace fw {
namespace {

using namespace test;

TEST(StationDetails, SetClearedAndKeptOnlyWhereGivenAndRefusedWholeOnABadValue) {
    StationLog log = StationLog::Open(":memory:");
    EXPECT_TRUE(ReadStationDetails(log).empty());
    StationDetailsChange first;
    first.values[0] = "  DL1ABC ";
    first.values[2] = "Hauptstr. 1\n12345 Musterstadt";
    first.values[3] = "Dipole 2 x 10 m";
    WriteStationDetails(log, first);
    StationDetailsChange second;  // the antenna cleared, the operator set, the rest kept
    second.values[3] = "";
    second.values[1] = "Erika";
    WriteStationDetails(log, second);
    StationDetails expected;
    expected[StationField::Callsign] = "DL1ABC";
    expected[StationField::Operator] = "Erika";
    expected[StationField::Address] = "Hauptstr. 1\n12345 Musterstadt";
    EXPECT_EQ(ReadStationDetails(log), expected);
    EXPECT_EQ(StationDetailsLines(expected),
              (std::vector<std::string>{"Callsign: DL1ABC", "Operator: Erika",
                                        "Address: Hauptstr. 1", "         12345 Musterstadt"}));
    // One bad field refuses the whole change.
    StationDetailsChange bad;
    bad.values[1] = "Max";
    bad.values[0] = "DL1\nABC";
    EXPECT_THROW(WriteStationDetails(log, bad), LogError);
    EXPECT_EQ(ReadStationDetails(log), expected);
}

TEST(StationDetails, ProblemsOfAValueByField) {
    const struct {
        StationField field;
        std::string text;
        const char* problem;  // nullptr: accepted
    } cases[] = {
        {StationField::Callsign, std::string(20, 'A'), nullptr},
        {StationField::Callsign, std::string(21, 'A'), "Callsign is longer than 20 characters"},
        {StationField::Callsign, "  " + std::string(20, 'A') + " \n", nullptr},
        {StationField::Operator, "Jörg Müller", nullptr},
        {StationField::Operator, "J\xC3", "Operator is not UTF-8 text"},
        {StationField::Operator, "\xC0\xAF", "Operator is not UTF-8 text"},
        {StationField::Antenna, "a\nb", "Antenna must be one line"},
        {StationField::Notes, "line 1\nline 2", nullptr},
        {StationField::Notes, "bell\a", "Notes holds a control character"},
        {StationField::Address, std::string(501, 'x'), "Address is longer than 500 characters"},
    };
    for (const auto& c : cases) {
        const auto problem = StationFieldProblem(c.field, c.text);
        EXPECT_EQ(problem.value_or("accepted"), c.problem ? c.problem : "accepted") << c.text;
    }
}

TEST(StationDetails, ALogOfAnOlderSchemaReadsAsNoneAndStaysUnchanged) {
    TempFolder folder;
    const std::string path = folder.file("v3.sqlite");
    {
        SqliteDb db(path, SqliteDb::Mode::ReadWriteCreate);
        MigrateSchema(db, 3);
    }
    StationLog read = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
    EXPECT_TRUE(ReadStationDetails(read).empty());
    EXPECT_EQ(SchemaVersion(read.database()), 3);
}

TEST(StationLogWaiting, AReaderSaysItWaitsOnceAndReadsWhenTheLockIsGiven) {
    TempFolder folder;
    const std::string path = folder.file("log.sqlite");
    StationLog::Open(path).add(SampleReadings().front());
    // Another program holds the file locked exclusively.
    auto holder = std::make_unique<SqliteDb>(path, SqliteDb::Mode::ReadWriteCreate);
    holder->exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"
                 "INSERT INTO gaps (utc, band, freq_mhz, reason, rig) VALUES (1, '', 1, 'r', '')");
    int notices = 0;
    // The notice is the event on which the holder lets go.
    StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly,
                                      {[&] {
                                           ++notices;
                                           holder->exec("COMMIT");
                                           holder.reset();
                                       },
                                       {}});
    EXPECT_EQ(ExtentOf(log).readings, 1);
    EXPECT_EQ(notices, 1);
}

}  // namespace
}  // namespace fw
