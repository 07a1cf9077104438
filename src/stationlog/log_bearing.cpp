#include "stationlog/log_bearing.h"

#include <cmath>
#include <limits>

#include "stationlog/sqlite_db.h"

namespace fw {

namespace {

constexpr const char* InsertScanSql =
    "INSERT INTO bearing_scans (utc, band, freq_mhz, receiver, rotator, unit, full_circle,"
    " strongest_deg, weakest_deg, half_power_width_deg, width_open, sharp_null)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr const char* InsertLevelSql =
    "INSERT INTO bearing_levels (scan_id, seq, azimuth_deg, level_db) VALUES (?, ?, ?, ?)";
constexpr const char* SelectScansSql =
    "SELECT id, utc, band, freq_mhz, receiver, rotator, unit, full_circle, strongest_deg,"
    " weakest_deg, half_power_width_deg, width_open, sharp_null FROM bearing_scans"
    " WHERE utc >= ? AND utc < ? ORDER BY utc, id";
constexpr const char* SelectLevelsSql =
    "SELECT azimuth_deg, level_db FROM bearing_levels WHERE scan_id = ? ORDER BY seq";

bool AllFinite(const LogBearingScan& s) {
    std::vector<double> values{s.freqMHz};
    for (const BearingLevel& l : s.levels) values.insert(values.end(), {l.azimuthDeg, l.levelDb});
    if (s.estimate)
        values.insert(values.end(), {s.estimate->strongestDeg, s.estimate->weakestDeg,
                                     s.estimate->halfPowerWidthDeg});
    for (const double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

std::optional<double> Optional(bool present, double value) {
    return present ? std::optional<double>(value) : std::nullopt;
}

}  // namespace

bool LogBearingScan::operator==(const LogBearingScan& o) const {
    const auto sameLevels = [](const std::vector<BearingLevel>& a, const std::vector<BearingLevel>& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i].azimuthDeg != b[i].azimuthDeg || a[i].levelDb != b[i].levelDb) return false;
        return true;
    };
    const auto sameEstimate = [](const std::optional<BearingEstimate>& a,
                                 const std::optional<BearingEstimate>& b) {
        if (!a || !b) return !a && !b;
        return a->strongestDeg == b->strongestDeg && a->weakestDeg == b->weakestDeg &&
               a->halfPowerWidthDeg == b->halfPowerWidthDeg && a->widthOpen == b->widthOpen &&
               a->sharpNull == b->sharpNull;
    };
    return utc == o.utc && band == o.band && freqMHz == o.freqMHz && receiver == o.receiver &&
           rotator == o.rotator && unit == o.unit && sameLevels(levels, o.levels) &&
           sameEstimate(estimate, o.estimate);
}

void AddBearingScan(StationLog& log, const LogBearingScan& scan) {
    if (!AllFinite(scan))
        throw LogError("station log " + log.path() +
                       ": a bearing scan with a value that is not a finite number is not logged");
    SqliteDb& db = log.database();
    SqliteTransaction t(db);
    SqliteStatement insert(db, InsertScanSql);
    insert.bind(1, scan.utc);
    insert.bind(2, std::string_view(scan.band));
    insert.bind(3, scan.freqMHz);
    insert.bind(4, std::string_view(scan.receiver));
    insert.bind(5, std::string_view(scan.rotator));
    insert.bind(6, std::string_view(scan.unit));
    const bool e = scan.estimate.has_value();
    const BearingEstimate est = scan.estimate.value_or(BearingEstimate{});
    insert.bind(7, Optional(e, est.fullCircle ? 1 : 0));
    insert.bind(8, Optional(e, est.strongestDeg));
    insert.bind(9, Optional(e, est.weakestDeg));
    insert.bind(10, Optional(e, est.halfPowerWidthDeg));
    insert.bind(11, Optional(e, est.widthOpen ? 1 : 0));
    insert.bind(12, Optional(e, est.sharpNull ? 1 : 0));
    insert.run();
    const std::int64_t id = db.queryInt("SELECT last_insert_rowid()");
    SqliteStatement level(db, InsertLevelSql);
    for (std::size_t i = 0; i < scan.levels.size(); ++i) {
        level.bind(1, id);
        level.bind(2, static_cast<std::int64_t>(i));
        level.bind(3, scan.levels[i].azimuthDeg);
        level.bind(4, scan.levels[i].levelDb);
        level.run();
    }
    t.commit();
}

std::vector<LogBearingScan> BearingScansIn(StationLog& log, const LogSpan& span) {
    SqliteDb& db = log.database();
    std::vector<LogBearingScan> found;
    SqliteStatement q(db, SelectScansSql);
    q.bind(1, span.from.value_or(std::numeric_limits<UtcSeconds>::min()));
    q.bind(2, span.to.value_or(std::numeric_limits<UtcSeconds>::max()));
    std::vector<std::int64_t> ids;
    while (q.step()) {
        ids.push_back(q.integer(0));
        LogBearingScan s;
        s.utc = q.integer(1);
        s.band = q.text(2);
        s.freqMHz = q.real(3);
        s.receiver = q.text(4);
        s.rotator = q.text(5);
        s.unit = q.text(6);
        if (!q.isNull(8))
            s.estimate = BearingEstimate{q.integer(7) != 0, q.real(8),           q.real(9),
                                         q.real(10),        q.integer(11) != 0, q.integer(12) != 0};
        found.push_back(std::move(s));
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        SqliteStatement levels(db, SelectLevelsSql);
        levels.bind(1, ids[i]);
        while (levels.step()) found[i].levels.push_back({levels.real(0), levels.real(1)});
    }
    return found;
}

}  // namespace fw
