#pragma once
// The station log's tables and their versions. PRAGMA user_version holds the version of a
// file; opening a log brings an older file up to the current version step by step.
#include <cstdint>

#include "stationlog/sqlite_db.h"

namespace fw {

// Marks a SQLite file as a station log (PRAGMA application_id), so another program's
// database is refused rather than changed.
inline constexpr std::int32_t StationLogApplicationId = 0x46576C67;  // "FWlg"

// 1: readings and gaps with an index on time.
// 2: an index per band that covers the views' columns.
// 3: readings of an SDR (source "sdr").
// 4: the log's identity (a UUID) for uploads to the network's server.
// 5: the calibration applied to each reading (offset, SDR reference level); NULL: unknown.
// 6: the noise's signature of SDR readings, in a table of its own.
// 7: the noise-floor estimate of each SDR reading; NULL for the others.
// The first version whose readings keep their calibration.
inline constexpr int CalibrationSchemaVersion = 5;
// The first version that keeps an SDR reading's estimate.
inline constexpr int SdrEstimateSchemaVersion = 7;
// 8: the station's details (callsign, operator, address, antenna, notes).
inline constexpr int CurrentSchemaVersion = 9;

// The version of the file; 0 for a new, empty database.
int SchemaVersion(SqliteDb& db);

// Refuses (LogError) a file that is not a station log or was written by a newer version,
// only reading it. An empty database passes where `emptyIsNew` (it is about to become a log).
void CheckStationLog(SqliteDb& db, bool emptyIsNew);

// Applies the steps from the file's version up to `target`, each in its own transaction
// together with its new version number, so a crash leaves the file at one version or the
// next. Refuses (LogError) a file of a newer version or one that is not a station log.
void MigrateSchema(SqliteDb& db, int target = CurrentSchemaVersion);

}  // namespace fw
