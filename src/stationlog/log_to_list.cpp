#include "stationlog/log_to_list.h"

#include <sqlite3.h>

#include "libs/date_text.h"
#include "libs/fw_math.h"
#include "libs/startup_values.h"
#include "stationlog/median_select.h"
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

// The ids of the band's middle reading, or its two middle readings, in the order of their
// field strength at `bandwidthHz`, through SQLite's sort of the band's readings: for a band
// too many of whose readings lie near the middle for the buckets to tell them apart.
std::vector<std::int64_t> SortedMiddleIds(StationLog& log, const LogSpan& span, const BandMedian& m) {
    SqliteStatement s(log.database(),
                      "SELECT id FROM readings"
                      " WHERE band = ?1 AND utc >= ?2 AND utc < ?3 AND (?1 <> '' OR freq_mhz = ?4)"
                      " AND " + SoundReadingSql + " ORDER BY fw_level(field_dbuvm, bandwidth_hz, ?5), utc, id"
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

// The medians of the tallied bands, within the caller's snapshot, so that the counts and the
// middle readings come from one state of a log the monitor may be writing.
std::vector<BandMedian> MediansOf(StationLog& log, const LogSpan& span, const SpanTally& tally,
                                  std::optional<double> bandwidthHz, std::int64_t mostKept) {
    std::vector<MiddleSearch> searches = PlanMiddleSearches(tally, bandwidthHz, mostKept);
    const std::vector<std::vector<std::int64_t>> found = MiddleIdsOf(log, span, tally, searches);
    std::vector<BandMedian> medians;
    for (std::size_t b = 0; b < tally.bands.size(); ++b) {
        BandMedian m{tally.bands[b].band, tally.bands[b].count, searches[b].bandwidthHz, {}};
        const std::vector<std::int64_t> ids =
            searches[b].sorted ? SortedMiddleIds(log, span, m) : found[b];
        std::vector<LogReading> middle;
        for (std::int64_t id : ids) middle.push_back(ReadingWithId(log, id));
        // Within one snapshot the band's count and its rows cannot disagree, unless the
        // file does with itself.
        if (middle.empty())
            throw LogDamagedError(LogDamagedText(log.path(), "its index and its table disagree"));
        m.row = MedianRow(middle[0], middle.size() > 1 ? &middle[1] : nullptr, m.bandwidthHz);
        medians.push_back(std::move(m));
    }
    return medians;
}

}  // namespace

std::vector<BandMedian> QueryBandMedians(StationLog& log, const LogSpan& span,
                                         std::optional<double> bandwidthHz,
                                         std::int64_t mostKept) {
    PrepareForMedians(log.database());
    const SqliteSnapshot snapshot(log.database());
    return MediansOf(log, span, TallySpan(log, span), bandwidthHz, mostKept);
}

LoggedList QueryLoggedList(StationLog& log, const LogSpan& span,
                           std::optional<double> bandwidthHz) {
    PrepareForMedians(log.database());
    const SqliteSnapshot snapshot(log.database());
    LoggedList out;
    const SpanTally tally = TallySpan(log, span);
    out.readings = tally.readings;
    if (out.readings == 0) return out;
    for (const BandMedian& m : MediansOf(log, span, tally, bandwidthHz, MostMiddleCandidates))
        out.list.appendRow(m.row);
    out.locator = LatestLocator(log, span);
    out.dateTime = DateTimeText(LocalTimeOf(span.to.value_or(tally.last)));
    return out;
}

std::string ListLocator(const LoggedList& logged) {
    return logged.locator.empty() ? std::string(NoLocatorText) : logged.locator;
}

}  // namespace fw
