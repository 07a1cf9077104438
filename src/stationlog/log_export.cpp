#include "stationlog/log_export.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

#include "libs/number_text.h"
#include "libs/atomic_file.h"
#include "libs/median.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

constexpr std::string_view LineEnd = "\r\n";
// The CSV text is handed to the sink in pieces of about this size.
constexpr std::size_t SinkChunk = 1 << 16;

// CSV lines after a header, handed to the sink in pieces of about SinkChunk; no more lines
// are made once the sink failed.
class CsvWriter {
  public:
    CsvWriter(std::string_view header, const TextSink& sink) : sink_(sink), buffer_(header) {
        buffer_ += LineEnd;
    }

    template <typename Append>
    void line(Append append) {
        if (!ok_) return;
        append(buffer_);
        if (buffer_.size() < SinkChunk) return;
        ok_ = sink_(buffer_);
        buffer_.clear();
    }

    bool finish() { return ok_ && sink_(buffer_); }

  private:
    const TextSink& sink_;
    std::string buffer_;
    bool ok_ = true;
};

// Fa values of one band, by UTC hour.
using HourValues = std::array<std::vector<double>, 24>;

std::vector<DatabankLine> Medians(std::map<LogBand, HourValues, LogBandOrder>& byBand) {
    std::vector<DatabankLine> out;
    for (auto& [band, hours] : byBand) {
        DatabankLine line{band, {}};
        for (std::size_t h = 0; h < 24; ++h) line.medianFa[h] = Median(hours[h]);
        out.push_back(std::move(line));
    }
    return out;
}

void Collect(std::map<LogBand, HourValues, LogBandOrder>& byBand, const LogReading& r) {
    byBand[BandOf(r)][static_cast<std::size_t>(UtcHourOfDay(r.utc))].push_back(
        NoiseFactorDb(r.fieldDbuVm, r.freqMHz, r.bandwidthHz));
}

// The estimate's seven fields after a comma each, empty without one.
void AppendCsvEstimate(std::string& out, const std::optional<SdrEstimate>& e) {
    if (!e) {
        out += ",,,,,,,";
        return;
    }
    const auto whole = [&out](std::int64_t v) { out += ',' + std::to_string(v); };
    out += ',';
    AppendCsvNumber(out, e->n0DbfsPerHz);
    whole(e->segments);
    whole(e->fftLength);
    whole(e->binsUsed);
    out += ',';
    AppendCsvNumber(out, e->occupancyPct);
    out += ',';
    AppendCsvNumber(out, e->percentile);
    whole(e->fullScaleSamples);
}

}  // namespace

void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendFixed2(std::string& out, double value) {
    out += FixedText(value, 2);
}

void AppendCsvNumber(std::string& out, double value) {
    char buf[400];              // fixed notation of any finite double fits
    if (value == 0) value = 0;  // no "-0"
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    out.append(buf, r.ptr);
}

void AppendCsvReading(std::string& out, const LogReading& r) {
    AppendUtcStamp(out, r.utc);
    out += ',';
    AppendCsvField(out, r.band);
    for (double v : {r.freqMHz, r.bandwidthHz}) {
        out += ',';
        AppendCsvNumber(out, v);
    }
    out += ',';
    AppendCsvField(out, r.method);
    for (double v : {r.gainDbi, r.sUnits, r.antVoltDbuV, r.antPowerDbm, r.fieldDbuVm}) {
        out += ',';
        AppendCsvNumber(out, v);
    }
    out += ',';
    AppendCsvField(out, SourceText(r.source));
    out += ',';
    AppendCsvField(out, r.rig);
    out += ',';
    AppendCsvField(out, r.locator);
    AppendCsvEstimate(out, r.estimate);
    out += LineEnd;
}

void AppendCsvGap(std::string& out, const LogGap& g) {
    AppendUtcStamp(out, g.utc);
    out += ',';
    AppendCsvField(out, g.band);
    out += ',';
    AppendCsvNumber(out, g.freqMHz);
    out += ',';
    AppendCsvField(out, g.reason);
    out += ',';
    AppendCsvField(out, g.rig);
    out += LineEnd;
}

bool WriteReadingsCsv(StationLog& log, const LogSpan& span, const TextSink& sink) {
    CsvWriter csv(CsvHeader, sink);
    ForEachReading(log, span, [&](const LogReading& r) {
        csv.line([&](std::string& out) { AppendCsvReading(out, r); });
    });
    return csv.finish();
}

bool WriteGapsCsv(StationLog& log, const LogSpan& span, const TextSink& sink) {
    CsvWriter csv(GapsCsvHeader, sink);
    ForEachGap(log, span,
               [&](const LogGap& g) { csv.line([&](std::string& out) { AppendCsvGap(out, g); }); });
    return csv.finish();
}

std::vector<DatabankLine> ComputeDatabank(std::span<const LogReading> readings) {
    std::map<LogBand, HourValues, LogBandOrder> byBand;
    for (const LogReading& r : readings) Collect(byBand, r);
    return Medians(byBand);
}

std::vector<DatabankLine> QueryDatabank(StationLog& log, const LogSpan& span) {
    std::map<LogBand, HourValues, LogBandOrder> byBand;
    ForEachReading(log, span, [&](const LogReading& r) { Collect(byBand, r); });
    return Medians(byBand);
}

std::string DatabankText(std::span<const DatabankLine> lines) {
    std::string out = "band,freq_mhz";
    for (int h = 0; h < 24; ++h) {
        out += ",h";
        out += static_cast<char>('0' + h / 10);
        out += static_cast<char>('0' + h % 10);
    }
    out += LineEnd;
    for (const DatabankLine& line : lines) {
        AppendCsvField(out, line.band.band);
        out += ',';
        AppendCsvNumber(out, line.band.freqMHz);
        for (double fa : line.medianFa) {
            out += ',';
            if (!std::isnan(fa)) AppendFixed2(out, fa);
        }
        out += LineEnd;
    }
    return out;
}

bool WriteLogExport(StationLog& log, const LogSpan& span, LogExportFormat format,
                    const TextSink& sink) {
    switch (format) {
        case LogExportFormat::Csv:
            return WriteReadingsCsv(log, span, sink);
        case LogExportFormat::Gaps:
            return WriteGapsCsv(log, span, sink);
        case LogExportFormat::Databank:
            break;
    }
    return sink(DatabankText(QueryDatabank(log, span)));
}

std::string WriteLogExportFile(StationLog& log, const LogSpan& span, LogExportFormat format,
                               const std::string& target) {
    const std::string error = WriteFileAtomically(target, [&](std::FILE* f) {
        return WriteLogExport(log, span, format, [f](std::string_view piece) {
            return std::fwrite(piece.data(), 1, piece.size(), f) == piece.size();
        });
    });
    return error.empty() ? error : target + ": " + error;
}

bool IsLogFile(const std::string& target, const std::string& logPath) {
    std::error_code ec;
    return std::filesystem::equivalent(target, logPath, ec);
}

}  // namespace fw
