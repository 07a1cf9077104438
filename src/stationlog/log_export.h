#pragma once
// The three export formats of the station log, CSV text after RFC 4180 (CR LF line ends,
// fields quoted where needed) with a point as decimal separator:
// - one line per reading under CsvHeader;
// - the databank table: one line per band with the median noise factor Fa of each UTC hour;
// - one line per gap under GapsCsvHeader.
#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stationlog/log_queries.h"

namespace fw {

inline constexpr std::string_view CsvHeader =
    "utc_time,band,freq_mhz,bandwidth_hz,method,gain_dbi,s_units,antvolt_dbuv,antpower_dbm,"
    "field_dbuvm,source,rig,locator,sdr_n0_dbfs_hz,sdr_segments,sdr_fft,sdr_bins,occupancy_pct,"
    "sdr_percentile,full_scale_samples";

inline constexpr std::string_view GapsCsvHeader = "utc_time,band,freq_mhz,reason,rig";

// Receives the export text piece by piece; false stops the export (a failed write).
using TextSink = std::function<bool(std::string_view)>;

// A text field as RFC 4180 writes it: in double quotes, with inner quotes doubled, when it
// holds a comma, a quote, CR or LF; otherwise as it is.
void AppendCsvField(std::string& out, std::string_view text);
// A number with a point, in the fewest digits that read back as the same double.
void AppendCsvNumber(std::string& out, double value);
// A number with a point and two decimals, "0.00" rather than "-0.00".
void AppendFixed2(std::string& out, double value);

void AppendCsvReading(std::string& out, const LogReading& reading);
void AppendCsvGap(std::string& out, const LogGap& gap);

// The header and every reading (or gap) of the span, oldest first. False when the sink
// failed.
bool WriteReadingsCsv(StationLog& log, const LogSpan& span, const TextSink& sink);
bool WriteGapsCsv(StationLog& log, const LogSpan& span, const TextSink& sink);

struct DatabankLine {
    LogBand band;
    std::array<double, 24> medianFa{};  // dB per UTC hour; NaN where the hour has no reading
};

// The lines of the databank table for the readings, by ascending frequency.
std::vector<DatabankLine> ComputeDatabank(std::span<const LogReading> readings);
std::vector<DatabankLine> QueryDatabank(StationLog& log, const LogSpan& span);

// "band,freq_mhz,h00,...,h23" and one line per band, Fa with two decimals, empty fields
// for hours without a reading.
std::string DatabankText(std::span<const DatabankLine> lines);

enum class LogExportFormat { Csv, Databank, Gaps };

// The span's export in that format, handed to `sink`. False when the sink failed; throws
// LogError when the log cannot be read.
bool WriteLogExport(StationLog& log, const LogSpan& span, LogExportFormat format,
                    const TextSink& sink);

// Writes the export to `target` whole or not at all: a failed export leaves any earlier
// file as it was. An empty text, or "TARGET: reason". Throws LogError as above.
std::string WriteLogExportFile(StationLog& log, const LogSpan& span, LogExportFormat format,
                               const std::string& target);

// Whether `target` is the log's own file, however either path is written: an export or a
// list written there would replace the log.
bool IsLogFile(const std::string& target, const std::string& logPath);

}  // namespace fw
