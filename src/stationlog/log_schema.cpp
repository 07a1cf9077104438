#include "stationlog/log_schema.h"

#include <array>
#include <string>

namespace fw {

namespace {

// The readings table under `name`, its source one of `sources`.
std::string ReadingsTable(const char* name, const char* sources) {
    return std::string("CREATE TABLE ") + name +
           " ("
           " id INTEGER PRIMARY KEY,"
           " utc INTEGER NOT NULL,"
           " band TEXT NOT NULL,"
           " freq_mhz REAL NOT NULL,"
           " bandwidth_hz REAL NOT NULL,"
           " method TEXT NOT NULL,"
           " gain_dbi REAL NOT NULL,"
           " s_units REAL NOT NULL,"
           " antvolt_dbuv REAL NOT NULL,"
           " antpower_dbm REAL NOT NULL,"
           " field_dbuvm REAL NOT NULL,"
           " source TEXT NOT NULL CHECK (source IN (" +
           sources +
           ")),"
           " rig TEXT NOT NULL,"
           " locator TEXT NOT NULL);";
}

constexpr const char* ReadingsByTime = "CREATE INDEX readings_by_time ON readings (utc);";
// The level-over-time and 24-hour views read one band over a span; with all their columns
// in the index they never touch the table.
constexpr const char* ReadingsByBand =
    "CREATE INDEX readings_by_band ON readings (band, utc, field_dbuvm, bandwidth_hz, freq_mhz);";
constexpr const char* ReadingColumns =
    "id, utc, band, freq_mhz, bandwidth_hz, method, gain_dbi, s_units, antvolt_dbuv,"
    " antpower_dbm, field_dbuvm, source, rig, locator";

// Step k brings a file from version k to version k + 1. Steps are never changed once
// released; a new need gets a new step.
const std::array<std::string, CurrentSchemaVersion> SchemaSteps = {
    // 0 -> 1
    ReadingsTable("readings", "'rig', 'typed'") + ReadingsByTime +
        "CREATE TABLE gaps ("
        " id INTEGER PRIMARY KEY,"
        " utc INTEGER NOT NULL,"
        " band TEXT NOT NULL,"
        " freq_mhz REAL NOT NULL,"
        " reason TEXT NOT NULL,"
        " rig TEXT NOT NULL);"
        "CREATE INDEX gaps_by_time ON gaps (utc);",
    // 1 -> 2
    ReadingsByBand,
    // 2 -> 3: readings of an SDR (source 'sdr'). SQLite cannot change a CHECK, so the table
    // is made anew under its old name, with every row under its own id and both indexes,
    // inside the step's one transaction.
    ReadingsTable("readings_with_sdr", "'rig', 'typed', 'sdr'") +
        "INSERT INTO readings_with_sdr (" + ReadingColumns + ") SELECT " + ReadingColumns +
        " FROM readings;"
        "DROP TABLE readings;"
        "ALTER TABLE readings_with_sdr RENAME TO readings;" +
        ReadingsByTime + ReadingsByBand,
    // 3 -> 4: the log's identity on the network's server, one row.
    "CREATE TABLE log_identity (uuid TEXT NOT NULL);",
    // 4 -> 5: the calibration applied to each reading; older readings keep NULL, unknown.
    "ALTER TABLE readings ADD COLUMN cal_offset_db REAL;"
    "ALTER TABLE readings ADD COLUMN ref_level_dbm REAL;",
    // 5 -> 6: the noise's signature of an SDR reading, one row beside its reading.
    "CREATE TABLE signatures ("
    " reading_id INTEGER PRIMARY KEY REFERENCES readings (id),"
    " vd_db REAL NOT NULL,"
    " burst_rate_hz REAL,"
    " comb_spacing_khz REAL,"
    " comb_lines INTEGER NOT NULL,"
    " class TEXT NOT NULL,"
    " apd_0db_pct REAL NOT NULL,"
    " apd_5db_pct REAL NOT NULL,"
    " apd_10db_pct REAL NOT NULL,"
    " apd_15db_pct REAL NOT NULL,"
    " apd_20db_pct REAL NOT NULL);",
    // 6 -> 7: the noise-floor estimate of an SDR's reading, empty for the others.
    "ALTER TABLE readings ADD COLUMN sdr_n0_dbfs_hz REAL;"
    "ALTER TABLE readings ADD COLUMN sdr_segments INTEGER;"
    "ALTER TABLE readings ADD COLUMN sdr_fft INTEGER;"
    "ALTER TABLE readings ADD COLUMN sdr_bins INTEGER;"
    "ALTER TABLE readings ADD COLUMN occupancy_pct REAL;"
    "ALTER TABLE readings ADD COLUMN sdr_percentile REAL;"
    "ALTER TABLE readings ADD COLUMN full_scale_samples INTEGER;",
    // 7 -> 8: the station's details, one row per field.
    "CREATE TABLE station (field TEXT PRIMARY KEY, value TEXT NOT NULL);",
    // 8 -> 9: bearing scans, one row each with its estimate (empty for a scan that was
    // stopped), and the level read at each of its bearings in scan order.
    "CREATE TABLE bearing_scans ("
    " id INTEGER PRIMARY KEY,"
    " utc INTEGER NOT NULL,"
    " band TEXT NOT NULL,"
    " freq_mhz REAL NOT NULL,"
    " receiver TEXT NOT NULL,"
    " rotator TEXT NOT NULL,"
    " unit TEXT NOT NULL,"
    " full_circle INTEGER,"
    " strongest_deg REAL,"
    " weakest_deg REAL,"
    " half_power_width_deg REAL,"
    " width_open INTEGER,"
    " sharp_null INTEGER);"
    "CREATE INDEX bearing_scans_by_time ON bearing_scans (utc);"
    "CREATE TABLE bearing_levels ("
    " scan_id INTEGER NOT NULL REFERENCES bearing_scans (id),"
    " seq INTEGER NOT NULL,"
    " azimuth_deg REAL NOT NULL,"
    " level_db REAL NOT NULL,"
    " PRIMARY KEY (scan_id, seq));",
};

bool HasTables(SqliteDb& db) {
    return db.queryInt("SELECT count(*) FROM sqlite_master") > 0;
}

}  // namespace

int SchemaVersion(SqliteDb& db) {
    return static_cast<int>(db.queryInt("PRAGMA user_version"));
}

void CheckStationLog(SqliteDb& db, bool emptyIsNew) {
    const auto applicationId = db.queryInt("PRAGMA application_id");
    const int version = SchemaVersion(db);
    const bool ours = applicationId == StationLogApplicationId;
    const bool empty = applicationId == 0 && version == 0 && !HasTables(db);
    if (!ours && !(empty && emptyIsNew))
        throw LogError("station log " + db.path() + ": the file is not a station log");
    if (version > CurrentSchemaVersion)
        throw LogError("station log " + db.path() +
                       ": the file was written by a newer version of Floorwatch (schema " +
                       std::to_string(version) + ", this one reads " +
                       std::to_string(CurrentSchemaVersion) + " and older)");
}

void MigrateSchema(SqliteDb& db, int target) {
    // A file that is up to date is only read, without taking the write lock.
    if (db.queryInt("PRAGMA application_id") == StationLogApplicationId &&
        SchemaVersion(db) == target)
        return;
    for (;;) {
        // The version is read inside the write transaction, so two programs opening a new
        // file at the same moment do not both apply the same step.
        SqliteTransaction t(db);
        CheckStationLog(db, true);
        const int version = SchemaVersion(db);
        if (version >= target) return;
        if (version == 0)
            db.exec("PRAGMA application_id = " + std::to_string(StationLogApplicationId));
        db.exec(SchemaSteps[static_cast<std::size_t>(version)]);
        db.exec("PRAGMA user_version = " + std::to_string(version + 1));
        t.commit();
    }
}

}  // namespace fw
