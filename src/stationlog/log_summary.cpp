#include "stationlog/log_summary.h"

#include <algorithm>
#include <array>
#include <map>

#include "stationlog/log_export.h"
#include "stationlog/log_schema.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

using BandMap = std::map<LogBand, BandSummary, LogBandOrder>;

// Adds the count, first and last time per band of the table ("readings" or "gaps").
void CountPerBand(StationLog& log, const LogSpan& span, const std::string& table,
                  LogEntries BandSummary::*entries, BandMap& bands) {
    const std::string sound = table == "readings" ? " AND " + SoundReadingSql : "";
    SqliteStatement s(log.database(), "SELECT band, freq_mhz, count(*), min(utc), max(utc) FROM " +
                                          table + " WHERE utc >= ? AND utc < ?" + sound +
                                          " GROUP BY freq_mhz, band");
    BindSpan(s, span, 1);
    while (s.step()) {
        const LogBand band{s.text(0), s.real(1)};
        BandSummary& summary = bands[band];
        summary.band = band;
        summary.*entries = LogEntries{s.integer(2), s.integer(3), s.integer(4)};
    }
}

std::string TimeOrDash(const LogEntries& e, UtcSeconds t) {
    return e.count > 0 ? UtcStampText(t) : "-";
}

// "80m", or "7.05 MHz" for a free frequency, with a point whatever the locale.
std::string BandName(const LogBand& band) {
    if (!band.band.empty()) return band.band;
    std::string name;
    AppendCsvNumber(name, band.freqMHz);
    return name + " MHz";
}

}  // namespace

std::string QuickCheck(StationLog& log) {
    SqliteStatement s(log.database(), "PRAGMA quick_check(20)");
    std::string findings;
    while (s.step()) findings += (findings.empty() ? "" : "; ") + s.text(0);
    if (findings != "ok") throw LogDamagedError(LogDamagedText(log.path(), findings));
    return findings;
}

LogSummary SummarizeLog(StationLog& log, const LogSpan& span) {
    const SqliteSnapshot snapshot(log.database());
    LogSummary summary;
    summary.quickCheck = QuickCheck(log);
    summary.path = log.path();
    summary.schemaVersion = SchemaVersion(log.database());
    summary.extent = ExtentOf(log, span);
    BandMap bands;
    CountPerBand(log, span, "readings", &BandSummary::readings, bands);
    CountPerBand(log, span, "gaps", &BandSummary::gaps, bands);
    for (auto& [band, s] : bands) summary.bands.push_back(std::move(s));
    return summary;
}

std::vector<std::string> LogSummaryLines(const LogSummary& s) {
    std::vector<std::string> lines = {"log: " + s.path,
                                      "schema version: " + std::to_string(s.schemaVersion),
                                      "quick check: " + s.quickCheck};
    if (s.extent.readings > 0) {
        lines.push_back("readings: " + std::to_string(s.extent.readings) + ", from " +
                        UtcStampText(s.extent.first) + " to " + UtcStampText(s.extent.last));
    } else {
        lines.push_back(std::string("readings: 0, ") + NoReadingsYetText);
    }
    lines.push_back("gaps: " + std::to_string(s.extent.gaps));
    if (s.bands.empty()) return lines;

    using Row = std::array<std::string, 7>;
    std::vector<Row> rows = {{"band", "readings", "first reading", "last reading", "gaps",
                              "first gap", "last gap"}};
    for (const BandSummary& b : s.bands)
        rows.push_back({BandName(b.band), std::to_string(b.readings.count),
                        TimeOrDash(b.readings, b.readings.first),
                        TimeOrDash(b.readings, b.readings.last), std::to_string(b.gaps.count),
                        TimeOrDash(b.gaps, b.gaps.first), TimeOrDash(b.gaps, b.gaps.last)});
    std::array<std::size_t, 7> width{};
    for (const Row& r : rows)
        for (std::size_t i = 0; i < r.size(); ++i) width[i] = std::max(width[i], r[i].size());
    for (const Row& r : rows) {
        std::string line;
        for (std::size_t i = 0; i < r.size(); ++i) {
            line += r[i];
            if (i + 1 < r.size()) line += std::string(width[i] - r[i].size() + 2, ' ');
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace fw
