#pragma once
// What the monitor sweeps through: a receiver that reads one band at a time.
// ReceiverSweeper provides one over the rig or an SDR; tests provide their own.
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "measure/meas_list.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_signature.h"

namespace fw {

// One reading's row, and the estimate behind it where the receiver makes one (an SDR).
struct BandReading {
    BandReading(MeasRow r, std::optional<SdrEstimate> e = std::nullopt)
        : row(std::move(r)), estimate(std::move(e)) {}
    MeasRow row;
    std::optional<SdrEstimate> estimate;
};

// The reading, or the text that says why the band could not be read.
using BandReadResult = std::variant<BandReading, std::string>;

// The calibration applied to a reading, as the log keeps it with the reading.
struct ReadingCalibration {
    std::optional<double> offsetDb;
    std::optional<double> refLevelDbm;  // an SDR's reference level
};

class Sweeper {
  public:
    virtual ~Sweeper() = default;

    // Opens the connection; an empty text on success, otherwise why it failed.
    virtual std::string connect() = 0;
    // Drops the connection after a failure, so that the next connect() starts afresh.
    virtual void disconnect() = 0;
    // Called while connected, before the first band of a sweep.
    virtual void beginSweep() {}
    // Called after the last band of a sweep and when the run stops, connected or not: puts
    // the receiver back as the run found it. Empty when it is back (or was never moved),
    // otherwise why not and where it was left.
    virtual std::string endSweep() { return {}; }
    // Tunes to the band and takes one reading. Called only while connected.
    virtual BandReadResult read(const LogBand& band) = 0;
    // The rig model or the SDR's label, as the log records it with each reading.
    virtual std::string rigName() const = 0;
    // The calibration applied to the reading that read() returned last; none known by
    // default.
    virtual ReadingCalibration calibration() const { return {}; }
    // What the log records as the readings' source.
    virtual ReadingSource source() const { return ReadingSource::Rig; }
    // The noise's signature of the reading the last read() returned, where it has one.
    virtual std::optional<LogSignature> lastSignature() const { return std::nullopt; }
};

}  // namespace fw
