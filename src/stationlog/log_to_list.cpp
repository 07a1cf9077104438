#include "stationlog/log_to_list.h"

#include <sqlite3.h>

#include "libs/date_text.h"
#include "libs/fw_math.h"
#include "libs/startup_values.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

double MeanLevel(double a, double b) {
    if (a <= UnknownLevel || b <= UnknownLevel) return UnknownLevel;
    return (a + b) / 2;
}

double LevelAt(const LogReading& r, double bandwidthHz) {
    return LevelForBandwidth(r.fieldDbuVm, r.bandwidthHz, bandwidthHz);
}

MeasRow FieldRow(double freqMHz, double fieldDbuVm, double bandwidthHz) {
    return MeasRow{freqMHz,      fieldDbuVm,   bandwidthHz,  "Field",
                   UnknownLevel, UnknownLevel, UnknownLevel, UnknownLevel};
}

// The row of the middle reading `a`, or of the two middle readings `a` and `b`.
MeasRow MedianRow(const LogReading& a, const LogReading* b, double bandwidthHz) {
    if (!b) {
        if (a.bandwidthHz == bandwidthHz) return RowFromReading(a);
        return FieldRow(a.freqMHz, LevelAt(a, bandwidthHz), bandwidthHz);
    }
    const double field = (LevelAt(a, bandwidthHz) + LevelAt(*b, bandwidthHz)) / 2;
    if (a.bandwidthHz != bandwidthHz || b->bandwidthHz != bandwidthHz || a.method != b->method ||
        a.gainDbi != b->gainDbi)
        return FieldRow(a.freqMHz, field, bandwidthHz);
    MeasRow m = RowFromReading(a);
    m.fieldDbuVm = field;
    m.sUnits = MeanLevel(a.sUnits, b->sUnits);
    m.antVoltDbuV = MeanLevel(a.antVoltDbuV, b->antVoltDbuV);
    m.antPowerDbm = MeanLevel(a.antPowerDbm, b->antPowerDbm);
    return m;
}

// fw_level(field, measured Hz, display Hz) for SQL: LevelForBandwidth itself, so the log is
// ordered by exactly the values the median is taken of.
void LevelFunction(sqlite3_context* context, int, sqlite3_value** args) {
    sqlite3_result_double(context, LevelForBandwidth(sqlite3_value_double(args[0]),
                                                     sqlite3_value_double(args[1]),
                                                     sqlite3_value_double(args[2])));
}

void DefineLevelFunction(SqliteDb& db) {
    if (sqlite3_create_function_v2(db.handle(), "fw_level", 3,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, LevelFunction,
                                   nullptr, nullptr, nullptr) != SQLITE_OK)
        throw LogError("station log " + db.path() + ": " + db.lastError());
}

// Each band of the span with its number of readings and the bandwidth most of them have
// (a tie: the larger), by ascending frequency.
std::vector<BandMedian> CountBands(StationLog& log, const LogSpan& span) {
    SqliteStatement s(log.database(),
                      "SELECT band, freq_mhz, bandwidth_hz, count(*) FROM readings"
                      " WHERE utc >= ? AND utc < ? GROUP BY freq_mhz, band, bandwidth_hz"
                      " ORDER BY freq_mhz, band, bandwidth_hz");
    BindSpan(s, span, 1);
    std::vector<BandMedian> out;
    std::int64_t most = 0;
    while (s.step()) {
        const LogBand band{s.text(0), s.real(1)};
        const std::int64_t count = s.integer(3);
        if (out.empty() || !(out.back().band == band)) {
            out.push_back({band, 0, 0, {}});
            most = 0;
        }
        out.back().count += count;
        if (count >= most) {  // ascending bandwidths: a tie goes to the larger
            most = count;
            out.back().bandwidthHz = s.real(2);
        }
    }
    return out;
}

// The ids of the band's middle reading, or its two middle readings, in the order of their
// field strength at `bandwidthHz`.
std::vector<std::int64_t> MiddleIds(StationLog& log, const LogSpan& span, const BandMedian& m) {
    SqliteStatement s(log.database(),
                      "SELECT id FROM readings"
                      " WHERE band = ?1 AND utc >= ?2 AND utc < ?3 AND (?1 <> '' OR freq_mhz = ?4)"
                      " ORDER BY fw_level(field_dbuvm, bandwidth_hz, ?5), utc, id"
                      " LIMIT ?6 OFFSET ?7");
    s.bind(1, std::string_view(m.band.band));
    BindSpan(s, span, 2);
    s.bind(4, m.band.freqMHz);
    s.bind(5, m.bandwidthHz);
    s.bind(6, std::int64_t{m.count % 2 == 1 ? 1 : 2});
    s.bind(7, std::int64_t{(m.count - 1) / 2});
    std::vector<std::int64_t> ids;
    while (s.step()) ids.push_back(s.integer(0));
    return ids;
}

// Ready for the median queries: the level function defined, and sorting a long span going
// to temporary files, not to memory.
void PrepareForMedians(SqliteDb& db) {
    DefineLevelFunction(db);
    db.exec("PRAGMA temp_store = FILE");
}

// QueryBandMedians within a snapshot, so the counts and the middle readings come from one
// state of a log the monitor may be writing.
std::vector<BandMedian> MediansInSnapshot(StationLog& log, const LogSpan& span,
                                          std::optional<double> bandwidthHz) {
    std::vector<BandMedian> medians = CountBands(log, span);
    for (BandMedian& m : medians) {
        if (bandwidthHz) m.bandwidthHz = *bandwidthHz;
        std::vector<LogReading> middle;
        for (std::int64_t id : MiddleIds(log, span, m)) middle.push_back(ReadingWithId(log, id));
        if (middle.empty()) throw LogError("station log " + log.path() + ": changed while read");
        m.row = MedianRow(middle[0], middle.size() > 1 ? &middle[1] : nullptr, m.bandwidthHz);
    }
    return medians;
}

}  // namespace

std::vector<BandMedian> QueryBandMedians(StationLog& log, const LogSpan& span,
                                         std::optional<double> bandwidthHz) {
    PrepareForMedians(log.database());
    const SqliteSnapshot snapshot(log.database());
    return MediansInSnapshot(log, span, bandwidthHz);
}

LoggedList QueryLoggedList(StationLog& log, const LogSpan& span,
                           std::optional<double> bandwidthHz) {
    PrepareForMedians(log.database());
    const SqliteSnapshot snapshot(log.database());
    LoggedList out;
    const LogExtent extent = ExtentOf(log, span);
    out.readings = extent.readings;
    if (out.readings == 0) return out;
    for (const BandMedian& m : MediansInSnapshot(log, span, bandwidthHz))
        out.list.appendRow(m.row);
    out.locator = LatestLocator(log, span);
    out.dateTime = DateTimeText(LocalTimeOf(span.to.value_or(extent.last)));
    return out;
}

std::string ListLocator(const LoggedList& logged) {
    return logged.locator.empty() ? std::string(NoLocatorText) : logged.locator;
}

}  // namespace fw
