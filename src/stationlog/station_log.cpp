#include "stationlog/station_log.h"

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "stationlog/log_identity.h"
#include "stationlog/log_path.h"
#include "stationlog/log_schema.h"

namespace fw {

namespace {

constexpr const char* InsertReadingSql =
    "INSERT INTO readings (utc, band, freq_mhz, bandwidth_hz, method, gain_dbi, s_units,"
    " antvolt_dbuv, antpower_dbm, field_dbuvm, source, rig, locator, cal_offset_db,"
    " ref_level_dbm, sdr_n0_dbfs_hz, sdr_segments, sdr_fft, sdr_bins, occupancy_pct,"
    " sdr_percentile, full_scale_samples)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr int FirstEstimateField = 16;
constexpr int EstimateFields = 7;

constexpr const char* InsertGapSql =
    "INSERT INTO gaps (utc, band, freq_mhz, reason, rig) VALUES (?, ?, ?, ?, ?)";
constexpr const char* InsertSignatureSql =
    "INSERT INTO signatures (reading_id, vd_db, burst_rate_hz, comb_spacing_khz, comb_lines,"
    " class, apd_0db_pct, apd_5db_pct, apd_10db_pct, apd_15db_pct, apd_20db_pct)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr const char* SelectSignaturesSql =
    "SELECT r.utc, r.band, s.vd_db, s.burst_rate_hz, s.comb_spacing_khz, s.comb_lines, s.class,"
    " s.apd_0db_pct, s.apd_5db_pct, s.apd_10db_pct, s.apd_15db_pct, s.apd_20db_pct"
    " FROM signatures s JOIN readings r ON r.id = s.reading_id"
    " WHERE r.utc >= ? AND r.utc < ? ORDER BY r.utc, r.id";

// Another program's database is refused before anything in it changes. WAL: readers (the
// views) and the monitor's writer do not block each other, and a commit is one append to the
// log file. NORMAL sync keeps every commit across a crash of the program; a power cut may
// lose the last readings but never damages the file.
void SetUpForWriting(SqliteDb& db, const std::string& path) {
    CheckStationLog(db, true);
    // A log left in rollback-journal mode switches only while no other program holds it, and
    // SQLite refuses the switch at once rather than wait: wait for another program's write as
    // for any write first.
    if (db.queryText("PRAGMA journal_mode") == "delete") {
        db.exec("BEGIN IMMEDIATE");
        db.exec("COMMIT");
    }
    const std::string journal = db.queryText("PRAGMA journal_mode = WAL");
    if (journal != "wal" && !(path == ":memory:" && journal == "memory"))
    {
        const std::string why = WhyNotWritable(path);
        throw LogError("station log " + path + ": cannot switch to WAL mode" +
                       (why.empty() ? "" : ": " + why));
    }
    db.exec("PRAGMA synchronous = NORMAL");
    MigrateSchema(db);
    EnsureLogIdentity(db);
}

// Makes a new log whole under a temporary name beside `path` and links it there, so that a
// reader never finds a log without its tables; where another program made one meanwhile,
// that one stays. Where this cannot be done (a file system without hard links), the log is
// made in place by the caller, which also reports any failure under the log's own name.
void CreateWhole(const std::string& path) {
    // Unique per process and per call: the monitor's thread and the entry logging may make
    // the same log at the same moment.
    static std::atomic<unsigned> made{0};
    const std::string temporary =
        path + ".new-" + std::to_string(getpid()) + "-" + std::to_string(made++);
    try {
        SqliteDb db(temporary, SqliteDb::Mode::ReadWriteCreate);
        SetUpForWriting(db, temporary);
    } catch (const LogError&) {
        std::remove(temporary.c_str());
        return;
    }
    // Closed, its WAL checkpointed into the file and removed. A link refused because a log
    // exists meanwhile keeps that log; any other refusal leaves the making to the caller.
    (void)link(temporary.c_str(), path.c_str());
    std::remove(temporary.c_str());
}

void CheckFinite(const std::string& path, const LogReading& r) {
    const SdrEstimate e = r.estimate.value_or(SdrEstimate{});
    for (double v : {r.freqMHz, r.bandwidthHz, r.gainDbi, r.sUnits, r.antVoltDbuV, r.antPowerDbm,
                     r.fieldDbuVm, r.calOffsetDb.value_or(0), r.refLevelDbm.value_or(0),
                     e.n0DbfsPerHz, e.occupancyPct, e.percentile}) {
        if (!std::isfinite(v))
            throw LogError("station log " + path + ": a reading with a value that is not a " +
                           "finite number is not logged");
    }
}

void BindReading(SqliteStatement& s, const LogReading& r) {
    s.bind(1, r.utc);
    s.bind(2, std::string_view(r.band));
    s.bind(3, r.freqMHz);
    s.bind(4, r.bandwidthHz);
    s.bind(5, std::string_view(r.method));
    s.bind(6, r.gainDbi);
    s.bind(7, r.sUnits);
    s.bind(8, r.antVoltDbuV);
    s.bind(9, r.antPowerDbm);
    s.bind(10, r.fieldDbuVm);
    s.bind(11, SourceText(r.source));
    s.bind(12, std::string_view(r.rig));
    s.bind(13, std::string_view(r.locator));
    s.bind(14, r.calOffsetDb);
    s.bind(15, r.refLevelDbm);
    // A statement keeps its values from one row to the next: a row without an estimate
    // clears them.
    const std::optional<SdrEstimate>& e = r.estimate;
    const int f = FirstEstimateField;
    if (!e) {
        for (int i = f; i < f + EstimateFields; ++i) s.bindNull(i);
        return;
    }
    s.bind(f, e->n0DbfsPerHz);
    s.bind(f + 1, std::int64_t{e->segments});
    s.bind(f + 2, std::int64_t{e->fftLength});
    s.bind(f + 3, std::int64_t{e->binsUsed});
    s.bind(f + 4, e->occupancyPct);
    s.bind(f + 5, e->percentile);
    s.bind(f + 6, e->fullScaleSamples);
}

}  // namespace

StationLog StationLog::Open(const std::string& path, OpenMode mode, LogWaiting waiting) {
    if (mode == OpenMode::ReadOnly) return OpenForReading(path, std::move(waiting));
    std::error_code ec;
    if (path != ":memory:" && !std::filesystem::exists(path, ec)) CreateWhole(path);
    SqliteDb db(path, SqliteDb::Mode::ReadWriteCreate, std::move(waiting));
    SetUpForWriting(db, path);
    return StationLog(std::move(db), path != ":memory:");
}

StationLog::~StationLog() {
    if (!writer_ || !db_.handle()) return;
    // Needs the log to itself: where another connection still reads or writes it, the log
    // stays in WAL mode and the last writer to close switches it. Never waited for.
    db_.setBusyTimeout(0);
    try {
        db_.exec("PRAGMA journal_mode = DELETE");
    } catch (const LogError&) {
    }
}

StationLog StationLog::OpenForReading(const std::string& path, LogWaiting waiting) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw LogError("station log " + path + " is a folder, not a file");
    if (!std::filesystem::is_regular_file(path, ec))
        throw LogError("station log " + path + " does not exist");
    // A file of 0 bytes is a log that nothing was written to yet: read as an empty one.
    if (std::filesystem::file_size(path, ec) == 0 && !ec) {
        SqliteDb empty = SqliteDb::InMemory(path);
        MigrateSchema(empty);
        empty.exec("PRAGMA query_only = 1");
        return StationLog(std::move(empty));
    }
    SqliteDb db(path, SqliteDb::Mode::ReadOnly, std::move(waiting));
    // An older schema is read as it is: the steps that bring it up to date are writes.
    CheckStationLog(db, false);
    return StationLog(std::move(db));
}

StationLog StationLog::OpenCreatingFolder(const std::string& path) {
    if (const std::string error = CreateLogFolder(path); !error.empty())
        throw LogError("station log " + path + ": cannot create its folder: " + error);
    return Open(path, OpenMode::CreateIfMissing);
}

void StationLog::add(const LogReading& reading) {
    addAll(std::span(&reading, 1));
}

void StationLog::addAll(std::span<const LogReading> readings) {
    for (const LogReading& r : readings) CheckFinite(path(), r);
    SqliteTransaction t(db_);
    SqliteStatement insert(db_, InsertReadingSql);
    for (const LogReading& r : readings) {
        BindReading(insert, r);
        insert.run();
    }
    t.commit();
}

void StationLog::add(const LogReading& reading, const LogSignature& signature) {
    CheckFinite(path(), reading);
    SqliteTransaction t(db_);
    SqliteStatement insert(db_, InsertReadingSql);
    BindReading(insert, reading);
    insert.run();
    SqliteStatement sig(db_, InsertSignatureSql);
    sig.bind(1, db_.queryInt("SELECT last_insert_rowid()"));
    sig.bind(2, signature.vdDb);
    sig.bind(3, signature.burstRateHz);
    sig.bind(4, signature.combSpacingKHz);
    sig.bind(5, std::int64_t{signature.combLines});
    sig.bind(6, std::string_view(signature.cls));
    for (int i = 0; i < 5; ++i) sig.bind(7 + i, signature.apdPercent[static_cast<std::size_t>(i)]);
    sig.run();
    t.commit();
}

std::vector<LoggedSignature> StationLog::signatures(UtcSeconds from, UtcSeconds to) {
    std::vector<LoggedSignature> found;
    SqliteStatement q(db_, SelectSignaturesSql);
    q.bind(1, from);
    q.bind(2, to);
    while (q.step()) {
        LoggedSignature s{q.integer(0), q.text(1), {}};
        s.signature.vdDb = q.real(2);
        if (!q.isNull(3)) s.signature.burstRateHz = q.real(3);
        if (!q.isNull(4)) s.signature.combSpacingKHz = q.real(4);
        s.signature.combLines = static_cast<int>(q.integer(5));
        s.signature.cls = q.text(6);
        for (int i = 0; i < 5; ++i) s.signature.apdPercent[static_cast<std::size_t>(i)] = q.real(7 + i);
        found.push_back(std::move(s));
    }
    return found;
}

void StationLog::addGap(const LogGap& gap) {
    SqliteTransaction t(db_);
    SqliteStatement insert(db_, InsertGapSql);
    insert.bind(1, gap.utc);
    insert.bind(2, std::string_view(gap.band));
    insert.bind(3, gap.freqMHz);
    insert.bind(4, std::string_view(gap.reason));
    insert.bind(5, std::string_view(gap.rig));
    insert.run();
    t.commit();
}

}  // namespace fw
