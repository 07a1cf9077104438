#include "network/log_upload.h"

#include <cmath>
#include <future>

#include "network/server_schema.h"
#include "stationlog/log_identity.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

// Each upload's rows wait in tables of the session, emptied by every commit: COPY cannot
// write into a table under row-level security, the INSERT from them can.
constexpr const char* StagingTables =
    "CREATE TEMP TABLE IF NOT EXISTS fw_upload_readings ("
    " reading_id bigint, utc bigint, band text, freq_mhz float8, bandwidth_hz float8,"
    " method text, gain_dbi float8, s_units float8, antvolt_dbuv float8, antpower_dbm float8,"
    " field_dbuvm float8, fa_db float8, source text, rig text, locator text)"
    " ON COMMIT DELETE ROWS;"
    "CREATE TEMP TABLE IF NOT EXISTS fw_upload_gaps ("
    " gap_id bigint, utc bigint, band text, freq_mhz float8, reason text, rig text)"
    " ON COMMIT DELETE ROWS";

constexpr const char* InsertReadings =
    "WITH new AS (INSERT INTO floorwatch.readings (callsign, log_uuid, reading_id, utc, band,"
    " freq_mhz, bandwidth_hz, method, gain_dbi, s_units, antvolt_dbuv, antpower_dbm,"
    " field_dbuvm, fa_db, source, rig, locator)"
    " SELECT $1, $2::uuid, reading_id, to_timestamp(utc), band, freq_mhz, bandwidth_hz, method,"
    " gain_dbi, s_units, antvolt_dbuv, antpower_dbm, field_dbuvm, fa_db, source, rig, locator"
    " FROM pg_temp.fw_upload_readings ON CONFLICT DO NOTHING RETURNING utc)"
    " SELECT count(*), min(utc), max(utc) FROM new";

// The hours of the batch, each band's median Fa and count recomputed from all the station's
// readings of that hour, whichever log they came from. The batch's span ($2, $3) bounds the
// scan, so that the server reads those hours once instead of the band's whole month.
constexpr const char* UpdateHourly =
    "INSERT INTO floorwatch.hourly (callsign, band, hour_utc, median_fa_db, readings)"
    " SELECT $1, r.band, date_trunc('hour', r.utc),"
    " percentile_cont(0.5) WITHIN GROUP (ORDER BY r.fa_db), count(*)"
    " FROM floorwatch.readings r"
    " WHERE r.callsign = $1 AND r.utc >= date_trunc('hour', to_timestamp($2))"
    " AND r.utc < date_trunc('hour', to_timestamp($3)) + interval '1 hour'"
    " AND (r.band, date_trunc('hour', r.utc)) IN"
    "  (SELECT DISTINCT band, date_trunc('hour', to_timestamp(utc))"
    "   FROM pg_temp.fw_upload_readings WHERE band <> '')"
    " GROUP BY 1, 2, 3"
    " ON CONFLICT (callsign, band, hour_utc) DO UPDATE"
    " SET median_fa_db = excluded.median_fa_db, readings = excluded.readings";

constexpr const char* InsertGaps =
    "INSERT INTO floorwatch.gaps (callsign, log_uuid, gap_id, utc, band, freq_mhz, reason, rig)"
    " SELECT $1, $2::uuid, gap_id, to_timestamp(utc), band, freq_mhz, reason, rig"
    " FROM pg_temp.fw_upload_gaps ON CONFLICT DO NOTHING";

constexpr const char* MoveMark =
    "INSERT INTO floorwatch.logs AS l (log_uuid, callsign, readings_upto, gaps_upto, readings,"
    " first_reading, last_reading, last_upload)"
    " VALUES ($2::uuid, $1, $3, $4, $5, $6::timestamptz, $7::timestamptz, now())"
    " ON CONFLICT (log_uuid) DO UPDATE SET"
    " readings_upto = greatest(l.readings_upto, excluded.readings_upto),"
    " gaps_upto = greatest(l.gaps_upto, excluded.gaps_upto),"
    " readings = l.readings + excluded.readings,"
    " first_reading = least(l.first_reading, excluded.first_reading),"
    " last_reading = greatest(l.last_reading, excluded.last_reading),"
    " last_upload = now()";

// One batch of rows in COPY's text format, with the span of their times.
struct Batch {
    std::string rows;
    std::int64_t count = 0;
    std::int64_t lastId = 0;  // also past damaged rows, which are not sent
    std::int64_t damaged = 0;
    UtcSeconds first = 0, last = 0;

    void noteTime(UtcSeconds t) {
        if (count == 0 || t < first) first = t;
        if (count == 0 || t > last) last = t;
        ++count;
    }
};

void AppendText(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
}

void AppendField(std::string& out, std::string_view text) {
    AppendText(out, text);
    out += '\t';
}

void AppendNumber(std::string& out, double value) {
    out += PgNumber(value);
    out += '\t';
}

void AppendInt(std::string& out, std::int64_t value) {
    out += std::to_string(value);
    out += '\t';
}

void EndRow(std::string& out) {
    out.back() = '\n';
}

// The rows after id `after` in the order of their ids, at most `size`, through `sql` (id and
// utc first, then what `append` reads). `append` writes one row in COPY's format and
// returns true, or false for a damaged row, which is skipped and counted.
template <typename Append>
Batch ReadBatch(StationLog& log, const char* sql, std::int64_t after, int size, Append append) {
    SqliteStatement s(log.database(), sql);
    s.bind(1, after);
    s.bind(2, static_cast<std::int64_t>(size));
    Batch b;
    while (s.step()) {
        b.lastId = s.integer(0);
        const UtcSeconds utc = s.integer(1);
        if (s.isNull(1) || !IsLogTime(utc) || !append(s, b.rows)) {
            ++b.damaged;
            continue;
        }
        b.noteTime(utc);
    }
    return b;
}

Batch ReadingBatch(StationLog& log, std::int64_t after, int size) {
    // Damaged readings (a level stored as text, say, which would read as 0) are read too, so
    // that the mark moves past them, but flagged by the log's own test and not sent.
    static const std::string sql =
        "SELECT id, utc, band, freq_mhz, bandwidth_hz, method, gain_dbi, s_units,"
        " antvolt_dbuv, antpower_dbm, field_dbuvm, source, rig, locator, ifnull(" +
        SoundReadingSql + ", 0) FROM readings WHERE id > ? ORDER BY id LIMIT ?";
    return ReadBatch(
        log, sql.c_str(), after, size, [](SqliteStatement& s, std::string& o) {
            if (s.integer(14) == 0) return false;
            const double fa = NoiseFactorDb(s.real(10), s.real(3), s.real(4));
            if (!std::isfinite(fa)) return false;
            AppendInt(o, s.integer(0));
            AppendInt(o, s.integer(1));
            AppendField(o, s.text(2));
            for (int c : {3, 4}) AppendNumber(o, s.real(c));
            AppendField(o, s.text(5));
            for (int c : {6, 7, 8, 9, 10}) AppendNumber(o, s.real(c));
            AppendNumber(o, fa);
            for (int c : {11, 12, 13}) AppendField(o, s.text(c));
            EndRow(o);
            return true;
        });
}

Batch GapBatch(StationLog& log, std::int64_t after, int size) {
    return ReadBatch(log,
                     "SELECT id, utc, band, freq_mhz, reason, rig,"
                     " typeof(freq_mhz) IN ('text', 'blob') FROM gaps"
                     " WHERE id > ? ORDER BY id LIMIT ?",
                     after, size, [](SqliteStatement& s, std::string& o) {
                         // A frequency stored as text would read as 0: damaged, not sent.
                         if (s.integer(6) != 0 || !std::isfinite(s.real(3))) return false;
                         AppendInt(o, s.integer(0));
                         AppendInt(o, s.integer(1));
                         AppendField(o, s.text(2));
                         AppendNumber(o, s.real(3));
                         AppendField(o, s.text(4));
                         AppendField(o, s.text(5));
                         EndRow(o);
                         return true;
                     });
}

std::int64_t CountRows(StationLog& log, const char* table, bool upTo, std::int64_t id) {
    SqliteStatement s(log.database(), std::string("SELECT count(*) FROM ") + table +
                                          (upTo ? " WHERE id <= ?" : " WHERE id > ?"));
    s.bind(1, id);
    s.step();
    return s.integer(0);
}

std::string Identity(StationLog& log) {
    return LogIdentity(log).value_or(std::string());
}

// The log's mark on the server; a log that another station uploaded is refused.
UploadMark ServerMark(PgConnection& conn, const std::string& uuid, const std::string& callsign) {
    const PgResult r = conn.exec(
        "SELECT callsign, readings_upto, gaps_upto FROM floorwatch.logs WHERE log_uuid = $1",
        {uuid});
    if (r.rows() == 0) return {};
    if (r.text(0, 0) != callsign)
        throw NetworkRefusal("this log was uploaded for the station " + r.text(0, 0) +
                             ", not " + callsign);
    return {r.integer(0, 1), r.integer(0, 2)};
}

void CheckStation(PgConnection& conn, const std::string& callsign) {
    if (conn.exec("SELECT 1 FROM floorwatch.stations WHERE callsign = $1", {callsign}).rows() == 0)
        throw NetworkError("the server " + conn.serverName() + " has no station " + callsign +
                           ": its administrator adds it with floorwatch-cli network add-station");
}

class Uploader {
  public:
    Uploader(PgConnection& conn, StationLog& log, const UploadRequest& request, std::string uuid)
        : conn_(conn), log_(log), request_(request), uuid_(std::move(uuid)) {}

    UploadCounts run() {
        UploadMark mark = ServerMark(conn_, uuid_, request_.callsign);
        counts_.alreadyThere = CountRows(log_, "readings", true, mark.readings) +
                               CountRows(log_, "gaps", true, mark.gaps);
        total_ = RowsAfter(log_, mark);
        counts_.mark = mark;
        if (total_ == 0) {
            // Nothing new: the mark is confirmed all the same, so that the server's rights
            // judge this upload too and the station's last upload is noted.
            PgTransaction t(conn_);
            moveMark(mark, 0, std::nullopt, std::nullopt);
            t.commit();
            return counts_;
        }
        conn_.exec(StagingTables);
        // The next batch is read from the log while the server takes this one.
        auto readAfter = [this](std::int64_t id) {
            return std::async(std::launch::async,
                              [this, id] { return ReadingBatch(log_, id, request_.batch); });
        };
        for (std::future<Batch> next = readAfter(mark.readings);;) {
            const Batch b = next.get();
            if (b.lastId == 0) break;
            next = readAfter(b.lastId);
            sendReadings(b, mark);
            mark.readings = counts_.mark.readings = b.lastId;
        }
        for (;;) {
            const Batch b = GapBatch(log_, mark.gaps, request_.batch);
            if (b.lastId == 0) break;
            sendGaps(b, mark);
            mark.gaps = counts_.mark.gaps = b.lastId;
        }
        return counts_;
    }

  private:
    void beginBatch(const Batch& b) {
        if (request_.stop.stop_requested())
            throw NetworkError("the upload was stopped; what arrived stays on the server");
        if (b.count > 0)
            conn_.exec("SELECT floorwatch.make_partitions(to_timestamp($1), to_timestamp($2))",
                       {std::to_string(b.first), std::to_string(b.last)});
    }

    // One station's uploads one after the other, so that each hour's values are computed
    // from every reading that has arrived.
    void lockStation() {
        conn_.exec("SELECT pg_advisory_xact_lock(467153, hashtext($1))",
                   {request_.callsign});
    }

    void moveMark(const UploadMark& mark, std::int64_t readings, const std::optional<std::string>& first,
                  const std::optional<std::string>& last) {
        conn_.exec(MoveMark, {request_.callsign, uuid_, std::to_string(mark.readings),
                              std::to_string(mark.gaps), std::to_string(readings), first, last});
        conn_.exec("UPDATE floorwatch.stations SET first_upload = coalesce(first_upload, now()),"
                   " last_upload = now() WHERE callsign = $1",
                   {request_.callsign});
    }

    void sendReadings(const Batch& b, const UploadMark& before) {
        beginBatch(b);
        PgTransaction t(conn_);
        lockStation();
        std::int64_t inserted = 0;
        std::optional<std::string> first, last;
        if (b.count > 0) {
            conn_.copyIn("COPY pg_temp.fw_upload_readings FROM STDIN", b.rows);
            const PgResult r = conn_.exec(InsertReadings, {request_.callsign, uuid_});
            inserted = r.integer(0, 0);
            if (!r.isNull(0, 1)) first = r.text(0, 1), last = r.text(0, 2);
            conn_.exec(UpdateHourly, {request_.callsign, std::to_string(b.first),
                                      std::to_string(b.last)});
        }
        moveMark({b.lastId, before.gaps}, inserted, first, last);
        t.commit();
        finishBatch(b, inserted, counts_.readings);
    }

    void sendGaps(const Batch& b, const UploadMark& before) {
        beginBatch(b);
        PgTransaction t(conn_);
        lockStation();
        std::int64_t inserted = 0;
        if (b.count > 0) {
            conn_.copyIn("COPY pg_temp.fw_upload_gaps FROM STDIN", b.rows);
            inserted = conn_.exec(InsertGaps, {request_.callsign, uuid_}).affected();
        }
        moveMark({before.readings, b.lastId}, 0, std::nullopt, std::nullopt);
        t.commit();
        finishBatch(b, inserted, counts_.gaps);
    }

    void finishBatch(const Batch& b, std::int64_t inserted, std::int64_t& counter) {
        counter += inserted;
        counts_.alreadyThere += b.count - inserted;
        counts_.damaged += b.damaged;
        sent_ += b.count + b.damaged;
        if (request_.progress) request_.progress(sent_, total_);
    }

    PgConnection& conn_;
    StationLog& log_;
    const UploadRequest& request_;
    std::string uuid_;
    UploadCounts counts_;
    std::int64_t total_ = 0;
    std::int64_t sent_ = 0;
};

}  // namespace

UploadCounts UploadLog(PgConnection& conn, StationLog& log, const UploadRequest& request) {
    CheckServerSchema(conn);
    CheckStation(conn, request.callsign);
    const std::string uuid = Identity(log);
    if (uuid.empty()) return {};
    try {
        return Uploader(conn, log, request, uuid).run();
    } catch (const NetworkRefusal& e) {
        throw NetworkRefusal("the server refused the upload for " + request.callsign + " as " +
                             conn.user() + " (" + e.what() + ")");
    }
}

std::int64_t RowsAfter(StationLog& log, const UploadMark& mark) {
    return CountRows(log, "readings", false, mark.readings) +
           CountRows(log, "gaps", false, mark.gaps);
}

std::string UploadCountsText(const UploadCounts& counts) {
    return "uploaded " + std::to_string(counts.readings) + " readings and " +
           std::to_string(counts.gaps) + " gaps (" + std::to_string(counts.alreadyThere) +
           " already there)" +
           (counts.damaged > 0 ? "; " + std::to_string(counts.damaged) +
                                     " damaged ones left out (a level, time or frequency that is"
                                     " no usable number)"
                               : std::string());
}

}  // namespace fw
