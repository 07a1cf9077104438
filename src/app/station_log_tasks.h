#pragma once
// The station log as the window uses it, without widgets: where it lies, which band a row
// of the list belongs to, the export written to a file and the atmospheric median per UTC
// hour for the 24-hour profile.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_settings.h"
#include "measure/itu_coefficient_cache.h"
#include "measure/meas_list.h"
#include "stationlog/log_queries.h"

namespace fw {

// The chosen file, or station-log.sqlite in the user's data folder; empty when there is
// neither (no XDG_DATA_HOME and no HOME).
std::string StationLogPath(const StationLogSettings& settings);

// The band whose frequency the row has ("80m"), or the empty text of a free frequency.
std::string BandOfRow(const MeasRow& row);

// "80m,40m" as the monitor's bands; an empty text gives all bands. Throws
// rig::ReadingInputError naming an unknown band.
std::vector<LogBand> MonitorBandsOf(std::string_view text);

enum class LogExportFormat { Csv, Databank };

// Writes the span's export of the log at `logPath` to `target`, whole or not at all. An
// empty text on success, otherwise the message for the user.
std::string ExportLogToFile(const std::string& logPath, const LogSpan& span, LogExportFormat format,
                            const std::string& target);

// The atmospheric model's median Fa in dB for each UTC hour at the centre of the locator's
// square, in `month` (1..12) at `freqMHz`; none where the locator does not parse, the
// frequency lies outside the model's range or the month's coefficients cannot be read.
std::optional<std::array<double, 24>> AtmosphericFaByHour(std::string_view locator, int month,
                                                          double freqMHz,
                                                          ItuCoefficientCache& coefficients);

}  // namespace fw
