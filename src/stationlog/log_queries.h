#pragma once
// Plain-data queries of the station log.
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "stationlog/log_reading.h"
#include "stationlog/station_log.h"

namespace fw {

// The UTC span [from, to); an open end reaches to the first or last reading.
struct LogSpan {
    std::optional<UtcSeconds> from;
    std::optional<UtcSeconds> to;

    bool contains(UtcSeconds t) const { return (!from || t >= *from) && (!to || t < *to); }
};

// A band of the log: its band text, or for a free frequency the empty text and the
// frequency itself. Readings of a named band all have its frequency.
struct LogBand {
    std::string band;
    double freqMHz = 0;

    bool operator==(const LogBand&) const = default;
};

// Bands by ascending frequency, then band text.
struct LogBandOrder {
    bool operator()(const LogBand& a, const LogBand& b) const {
        if (a.freqMHz != b.freqMHz) return a.freqMHz < b.freqMHz;
        return a.band < b.band;
    }
};

// Binds the span's two ends to the parameters `first` and `first + 1` of a statement that
// asks for "utc >= ? AND utc < ?", within the times a reading can have, so that no query
// returns a damaged reading.
void BindSpan(SqliteStatement& s, const LogSpan& span, int first);

LogBand BandOf(const LogReading& reading);
// "80m", or "7.05 MHz" for a free frequency.
std::string BandLabel(const LogBand& band);
// The thirteen bands of the band table, in its order.
std::vector<LogBand> AllBands();

// Every reading in the span, oldest first (readings of the same second in logging order).
void ForEachReading(StationLog& log, const LogSpan& span,
                    const std::function<void(const LogReading&)>& visit);
std::vector<LogReading> ReadingsIn(StationLog& log, const LogSpan& span);
// The reading with that row id; LogError where there is none.
LogReading ReadingWithId(StationLog& log, std::int64_t id);
// Every gap in the span, oldest first.
void ForEachGap(StationLog& log, const LogSpan& span,
                const std::function<void(const LogGap&)>& visit);
std::vector<LogGap> GapsIn(StationLog& log, const LogSpan& span);

// The bands that have readings in the span, by ascending frequency.
std::vector<LogBand> BandsIn(StationLog& log, const LogSpan& span);

// How much the log holds in the span: the number of readings and gaps, and the first and
// last reading time (both 0 where there is no reading).
struct LogExtent {
    std::int64_t readings = 0;
    std::int64_t gaps = 0;
    UtcSeconds first = 0;
    UtcSeconds last = 0;
};
LogExtent ExtentOf(StationLog& log, const LogSpan& span = {});
// Said of a log without a reading (a new one, or a file of 0 bytes).
inline constexpr const char* NoReadingsYetText = "no readings yet";
// The readings' time in whole UTC hours: from the hour of the first to the end of the hour
// of the last.
LogSpan WholeHoursOf(const LogExtent& extent);

// What a sound reading of the table meets, as an SQL condition: a time within FirstLogUtc
// ... LastLogUtc, every level a finite number (not text, not infinite), frequency and
// bandwidth above 0. The others are damaged: every query here leaves them out.
extern const std::string SoundReadingSql;
// The same checks made on a row that a pass over many readings has read: its time (an
// integer or real within FirstLogUtc ... LastLogUtc) in `column`, and its levels, the columns
// SoundLevelColumns names in their order, from `first` on, whose values `levels` receives.
extern const char* const SoundLevelColumns;
using SoundLevels = std::array<double, 7>;
inline constexpr std::size_t SoundBandwidth = 1, SoundField = 6;  // in SoundLevels
bool TimeSound(const SqliteStatement& s, int column);
bool LevelsSound(const SqliteStatement& s, int first, SoundLevels& levels);

// The damaged entries of the log: readings with an impossible time, readings with a damaged
// level (and a possible time), and gaps with an impossible time.
struct DamagedEntries {
    std::int64_t readingTimes = 0;
    std::int64_t readingLevels = 0;
    std::int64_t gapTimes = 0;
};
DamagedEntries DamagedEntriesIn(StationLog& log);
// The readings of the span whose time is possible but a level is damaged.
std::int64_t DamagedReadingsIn(StationLog& log, const LogSpan& span);

// The locator of the span's latest reading that has one; empty when none has.
std::string LatestLocator(StationLog& log, const LogSpan& span = {});

// The field strength of one band's readings, as measured, oldest first.
struct LevelPoint {
    UtcSeconds utc = 0;
    double fieldDbuVm = 0;
    double bandwidthHz = 0;
};
std::vector<LevelPoint> BandLevels(StationLog& log, const LogBand& band, const LogSpan& span);

// A level measured in bandwidth `measuredHz` shown for `displayHz`, as the diagram's
// bandwidth correction does; a display bandwidth of 0 (or a measured one of 0) leaves it.
double LevelForBandwidth(double fieldDbuVm, double measuredHz, double displayHz);

}  // namespace fw
