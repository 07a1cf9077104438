#include "stationlog/log_queries.h"

#include <algorithm>
#include <charconv>

#include "libs/fw_math.h"
#include "model/levels.h"
#include "stationlog/log_schema.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

// A reader takes an older file as it is: where the readings have no calibration or
// estimate columns yet, their calibration reads as unknown and they have no estimate.
std::string ReadingColumns(StationLog& log) {
    const int version = SchemaVersion(log.database());
    return std::string("utc, band, freq_mhz, bandwidth_hz, method, gain_dbi, s_units,"
                       " antvolt_dbuv, antpower_dbm, field_dbuvm, source, rig, locator, ") +
           (version >= CalibrationSchemaVersion ? "cal_offset_db, ref_level_dbm, " : "NULL, NULL, ") +
           (version >= SdrEstimateSchemaVersion
                ? "sdr_n0_dbfs_hz, sdr_segments, sdr_fft, sdr_bins, occupancy_pct, sdr_percentile,"
                  " full_scale_samples"
                : "NULL, NULL, NULL, NULL, NULL, NULL, NULL");
}
constexpr int EstimateColumn = 15;

// A time a reading or gap can have.
#define FW_LOG_TIME_OK " utc BETWEEN 0 AND 253402300799 "
static_assert(FirstLogUtc == 0 && LastLogUtc == 253402300799);
// A finite number: text, a blob and an infinity compare outside these bounds, and NULL fails.
#define FW_FINITE(column) " " column " BETWEEN -1.7976931348623157e308 AND 1.7976931348623157e308 "
#define FW_LEVELS_OK                                                                     \
    " freq_mhz > 0 AND bandwidth_hz > 0 AND" FW_FINITE("freq_mhz") "AND" FW_FINITE(       \
        "bandwidth_hz") "AND" FW_FINITE("gain_dbi") "AND" FW_FINITE("s_units") "AND"      \
        FW_FINITE("antvolt_dbuv") "AND" FW_FINITE("antpower_dbm") "AND" FW_FINITE("field_dbuvm")

LogReading ReadingAt(const SqliteStatement& s) {
    LogReading r;
    r.utc = s.integer(0);
    r.band = s.text(1);
    r.freqMHz = s.real(2);
    r.bandwidthHz = s.real(3);
    r.method = s.text(4);
    r.gainDbi = s.real(5);
    r.sUnits = s.real(6);
    r.antVoltDbuV = s.real(7);
    r.antPowerDbm = s.real(8);
    r.fieldDbuVm = s.real(9);
    // The table refuses any other text, so an unknown one cannot occur.
    r.source = SourceFromText(s.text(10)).value_or(ReadingSource::Rig);
    r.rig = s.text(11);
    r.locator = s.text(12);
    if (!s.isNull(13)) r.calOffsetDb = s.real(13);
    if (!s.isNull(14)) r.refLevelDbm = s.real(14);
    const int e = EstimateColumn;
    if (s.isNull(e)) return r;
    r.estimate = SdrEstimate{s.real(e), static_cast<int>(s.integer(e + 1)),
                             static_cast<int>(s.integer(e + 2)), static_cast<int>(s.integer(e + 3)),
                             s.real(e + 4), s.real(e + 5), s.integer(e + 6)};
    return r;
}

}  // namespace

const std::string SoundReadingSql = "(" FW_LOG_TIME_OK "AND" FW_LEVELS_OK ")";

// The span within the times a reading can have, so that no query returns a damaged one.
void BindSpan(SqliteStatement& s, const LogSpan& span, int first) {
    s.bind(first, std::max(span.from.value_or(FirstLogUtc), FirstLogUtc));
    s.bind(first + 1, std::min(span.to.value_or(LastLogUtc + 1), LastLogUtc + 1));
}

LogBand BandOf(const LogReading& reading) {
    return LogBand{reading.band, reading.freqMHz};
}

std::string BandLabel(const LogBand& band) {
    if (!band.band.empty()) return band.band;
    // Six significant digits as "%g" writes them, with a point whatever the C locale says.
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, band.freqMHz,
                                   std::chars_format::general, 6).ptr;
    return std::string(buf, end) + " MHz";
}

std::vector<LogBand> AllBands() {
    std::vector<LogBand> bands;
    for (const BandEntry& b : BandTable) bands.push_back({std::string(b.text), b.frequencyMHz});
    return bands;
}

void ForEachReading(StationLog& log, const LogSpan& span,
                    const std::function<void(const LogReading&)>& visit) {
    SqliteStatement s(log.database(), std::string("SELECT ") + ReadingColumns(log) +
                                          " FROM readings WHERE utc >= ? AND utc < ? AND " +
                                          SoundReadingSql + " ORDER BY utc, id");
    BindSpan(s, span, 1);
    while (s.step()) visit(ReadingAt(s));
}

LogReading ReadingWithId(StationLog& log, std::int64_t id) {
    SqliteStatement s(log.database(),
                      std::string("SELECT ") + ReadingColumns(log) + " FROM readings WHERE id = ?");
    s.bind(1, id);
    if (!s.step())
        throw LogError("station log " + log.path() + ": a reading went missing while it was read");
    return ReadingAt(s);
}

std::vector<LogReading> ReadingsIn(StationLog& log, const LogSpan& span) {
    std::vector<LogReading> out;
    ForEachReading(log, span, [&](const LogReading& r) { out.push_back(r); });
    return out;
}

void ForEachGap(StationLog& log, const LogSpan& span,
                const std::function<void(const LogGap&)>& visit) {
    SqliteStatement s(log.database(),
                      "SELECT utc, band, freq_mhz, reason, rig FROM gaps"
                      " WHERE utc >= ? AND utc < ? ORDER BY utc, id");
    BindSpan(s, span, 1);
    while (s.step()) visit({s.integer(0), s.text(1), s.real(2), s.text(3), s.text(4)});
}

std::vector<LogGap> GapsIn(StationLog& log, const LogSpan& span) {
    std::vector<LogGap> out;
    ForEachGap(log, span, [&](const LogGap& g) { out.push_back(g); });
    return out;
}

std::vector<LogBand> BandsIn(StationLog& log, const LogSpan& span) {
    SqliteStatement s(log.database(), "SELECT DISTINCT band, freq_mhz FROM readings"
                                      " WHERE utc >= ? AND utc < ? AND " +
                                          SoundReadingSql + " ORDER BY freq_mhz, band");
    BindSpan(s, span, 1);
    std::vector<LogBand> out;
    while (s.step()) out.push_back({s.text(0), s.real(1)});
    return out;
}

LogExtent ExtentOf(StationLog& log, const LogSpan& span) {
    const std::string sound = " WHERE utc >= ?1 AND utc < ?2 AND " + SoundReadingSql;
    SqliteStatement s(log.database(),
                      "SELECT (SELECT count(*) FROM readings" + sound +
                          "), (SELECT count(*) FROM gaps WHERE utc >= ?1 AND utc < ?2),"
                          " (SELECT min(utc) FROM readings" +
                          sound + "), (SELECT max(utc) FROM readings" + sound + ")");
    BindSpan(s, span, 1);
    s.step();
    return LogExtent{s.integer(0), s.integer(1), s.integer(2), s.integer(3)};
}

LogSpan WholeHoursOf(const LogExtent& extent) {
    constexpr UtcSeconds Hour = 3600;
    return LogSpan{extent.first - extent.first % Hour, extent.last - extent.last % Hour + Hour};
}

std::vector<LevelPoint> BandLevels(StationLog& log, const LogBand& band, const LogSpan& span) {
    // A named band is found by its text alone; a free frequency by the empty text and its
    // frequency. Both read only the per-band index.
    SqliteStatement s(log.database(), "SELECT utc, field_dbuvm, bandwidth_hz FROM readings"
                                      " WHERE band = ?1 AND utc >= ?2 AND utc < ?3"
                                      " AND (?1 <> '' OR freq_mhz = ?4) AND " +
                                          SoundReadingSql + " ORDER BY utc");
    s.bind(1, std::string_view(band.band));
    BindSpan(s, span, 2);
    s.bind(4, band.freqMHz);
    std::vector<LevelPoint> out;
    while (s.step()) out.push_back({s.integer(0), s.real(1), s.real(2)});
    return out;
}

double LevelForBandwidth(double fieldDbuVm, double measuredHz, double displayHz) {
    if (displayHz <= 0 || measuredHz <= 0) return fieldDbuVm;
    return fieldDbuVm + BandwidthCorrectionDb(displayHz, measuredHz);
}

std::string LatestLocator(StationLog& log, const LogSpan& span) {
    SqliteStatement latest(log.database(),
                           "SELECT locator FROM readings WHERE locator <> '' AND utc >= ? AND"
                           " utc < ? AND " +
                               SoundReadingSql + " ORDER BY utc DESC, id DESC LIMIT 1");
    BindSpan(latest, span, 1);
    return latest.step() ? latest.text(0) : std::string();
}

const char* const SoundLevelColumns =
    "freq_mhz, bandwidth_hz, gain_dbi, s_units, antvolt_dbuv, antpower_dbm, field_dbuvm";

bool TimeSound(const SqliteStatement& s, int column) {
    if (!s.isFiniteNumber(column)) return false;
    const double utc = s.real(column);
    return utc >= static_cast<double>(FirstLogUtc) && utc <= static_cast<double>(LastLogUtc);
}

bool LevelsSound(const SqliteStatement& s, int first, SoundLevels& levels) {
    return s.finiteNumbers(first, levels) && levels[0] > 0 && levels[1] > 0;
}

DamagedEntries DamagedEntriesIn(StationLog& log) {
    // One statement, so one state of the file: a pass over the readings, whose conditions are
    // checked here (as fast as a plain scan; in SQL they take twice as long), then the count
    // of the gaps. A condition that is NULL (a NULL where none may be) counts as failed.
    SqliteStatement s(log.database(),
                      std::string("SELECT 0, utc, ") + SoundLevelColumns +
                          " FROM readings UNION ALL SELECT 1, count(*), 1, 1, 1, 1, 1, 1, 1"
                          " FROM gaps WHERE NOT ifnull(" FW_LOG_TIME_OK ", 0)");
    DamagedEntries d;
    while (s.step()) {
        if (s.integer(0) == 1) {
            d.gapTimes = s.integer(1);
        } else if (!TimeSound(s, 1)) {
            ++d.readingTimes;
        } else if (SoundLevels levels; !LevelsSound(s, 2, levels)) {
            ++d.readingLevels;
        }
    }
    return d;
}

std::int64_t DamagedReadingsIn(StationLog& log, const LogSpan& span) {
    SqliteStatement s(log.database(), "SELECT count(*) FROM readings WHERE utc >= ? AND utc < ?"
                                      " AND NOT ifnull(" FW_LEVELS_OK ", 0)");
    BindSpan(s, span, 1);
    s.step();
    return s.integer(0);
}

}  // namespace fw
