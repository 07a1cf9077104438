#pragma once
// What the station log holds: readings, each with its own UTC time, and gaps where a band
// could not be read during monitoring.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "measure/meas_list.h"

namespace fw {

// Seconds since 1970-01-01 00:00 UTC.
using UtcSeconds = std::int64_t;

enum class ReadingSource { Rig, Typed, Sdr };

// The noise-floor estimate behind an SDR's reading, kept with it.
struct SdrEstimate {
    double n0DbfsPerHz = 0;
    int segments = 0;  // K, the spectra averaged
    int fftLength = 0;  // N
    int binsUsed = 0;
    double occupancyPct = 0;  // of the used bins, against the N0 reported
    double percentile = 20;  // of the bins N0 was taken from
    std::int64_t fullScaleSamples = 0;  // I/Q pairs at the converter's full scale

    bool operator==(const SdrEstimate&) const = default;
};

// "rig", "typed" or "sdr", as the log and its CSV export write it.
std::string_view SourceText(ReadingSource source);
std::optional<ReadingSource> SourceFromText(std::string_view text);

struct LogReading {
    UtcSeconds utc = 0;
    std::string band;  // band selector text, empty for a free frequency
    double freqMHz = 0;
    double bandwidthHz = 0;
    std::string method;  // entry method tag: "S-Val", "AntVol", "AntPwr", "Field"
    double gainDbi = 0;
    double sUnits = 0;
    double antVoltDbuV = 0;
    double antPowerDbm = 0;
    double fieldDbuVm = 0;
    ReadingSource source = ReadingSource::Rig;
    std::string rig;  // rig model or SDR label, empty for a typed reading without a rig
    std::string locator;
    // The calibration applied when the reading was taken: the band's calibration offset in
    // dB (rig and SDR readings) and the SDR's reference level in dBm. None where it does not
    // apply, and for readings logged before the log kept it: unknown.
    std::optional<double> calOffsetDb = std::nullopt;
    std::optional<double> refLevelDbm = std::nullopt;
    std::optional<SdrEstimate> estimate = std::nullopt;  // an SDR's reading logged with its estimate

    bool operator==(const LogReading&) const = default;
};

// A reading built from a row of the measurement list.
LogReading ReadingFromRow(const MeasRow& row, UtcSeconds utc, std::string band,
                          ReadingSource source, std::string rig, std::string locator);

// The row of the measurement list that a reading stands for.
MeasRow RowFromReading(const LogReading& reading);

// A band that could not be read during monitoring, and why.
struct LogGap {
    UtcSeconds utc = 0;
    std::string band;
    double freqMHz = 0;
    std::string reason;
    std::string rig;

    bool operator==(const LogGap&) const = default;
};

}  // namespace fw
