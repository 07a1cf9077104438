#include "app/station_log_tasks.h"

#include <cstdio>
#include <filesystem>

#include "libs/atomic_file.h"
#include "measure/maidenhead.h"
#include "model/atmospheric_noise.h"
#include "model/levels.h"
#include "rig/sweep.h"
#include "stationlog/log_export.h"
#include "stationlog/log_path.h"

namespace fw {

std::string StationLogPath(const StationLogSettings& settings) {
    return settings.path.empty() ? DefaultStationLogPath() : settings.path;
}

std::string BandOfRow(const MeasRow& row) {
    for (const LogBand& b : AllBands())
        if (b.freqMHz == row.freqMHz) return b.band;
    return {};
}

std::vector<LogBand> MonitorBandsOf(std::string_view text) {
    if (text.empty()) return AllBands();
    std::vector<LogBand> bands;
    for (const rig::RigTarget& t : rig::BandTargets(text))
        bands.push_back({t.band, BandFrequencyMHz(t.band)});
    return bands;
}

std::string ExportLogToFile(const std::string& logPath, const LogSpan& span, LogExportFormat format,
                            const std::string& target) {
    // Writing the export over the log would replace the log with its own export.
    std::error_code ec;
    if (std::filesystem::equivalent(target, logPath, ec))
        return "The export must not be written over the station log itself.";
    try {
        StationLog log = StationLog::Open(logPath, StationLog::OpenMode::MustExist);
        const std::string error = WriteFileAtomically(target, [&](std::FILE* f) {
            const TextSink sink = [f](std::string_view piece) {
                return std::fwrite(piece.data(), 1, piece.size(), f) == piece.size();
            };
            if (format == LogExportFormat::Csv) return WriteReadingsCsv(log, span, sink);
            return sink(DatabankText(QueryDatabank(log, span)));
        });
        if (!error.empty()) return target + ": " + error;
    } catch (const LogError& e) {
        return e.what();
    }
    return {};
}

std::optional<std::array<double, 24>> AtmosphericFaByHour(std::string_view locator, int month,
                                                          double freqMHz,
                                                          ItuCoefficientCache& coefficients) {
    if (!InAtmosphericRange(freqMHz)) return std::nullopt;
    const Outcome<LocatorSquare> square = ParseMaidenhead(locator);
    if (!square) return std::nullopt;
    const Outcome<ItuNoiseCoefficients>& c = coefficients.Month(month);
    if (!c) return std::nullopt;
    const GeoPoint& at = square->centre;
    std::array<double, 24> fa{};
    for (int hour = 0; hour < 24; ++hour)
        fa[static_cast<std::size_t>(hour)] =
            AtmosphericNoiseAt(c.value(),
                               MakeAtmosphericSite(c.value(), at.latDeg, at.lonDeg, hour), freqMHz)
                .fa;
    return fa;
}

}  // namespace fw
