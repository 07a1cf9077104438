#pragma once
// The monitor's receiver over SoapySDR: the device opened on connect and closed on
// disconnect, and one noise measurement per band. Its readings are logged with the source
// "sdr" and the device's label as the rig. Nothing is restored after a sweep: an SDR has no
// tuning of the user's own.
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include "monitor/sweeper.h"
#include "rig/reading.h"
#include "sdr/noise_reading.h"
#include "sdr/sdr_session.h"

namespace fw {

// Told each measurement before its row is logged: the noise floor and the used spectrum.
using NoiseObserver = std::function<void(const sdr::NoiseReading&)>;

// What the station log keeps of a reading's estimate.
SdrEstimate EstimateOf(const NoiseFloor& floor);

class SdrSweeper final : public Sweeper {
  public:
    // `settings` open the device and give the capture time and the reference level;
    // `reading` gives the gain, the bandwidth and the calibration offsets. `stop` (the
    // run's stop request) ends a capture within a tenth of a second; the reading it cuts
    // short is dropped.
    SdrSweeper(sdr::SdrSettings settings, rig::ReadingPlan reading, char sep,
               std::stop_token stop = {}, NoiseObserver observer = {});
    ~SdrSweeper() override;

    std::string connect() override;
    void disconnect() override;
    BandReadResult read(const LogBand& band) override;
    // The device's label once it has been opened, its arguments before.
    std::string rigName() const override;
    ReadingSource source() const override { return ReadingSource::Sdr; }
    ReadingCalibration calibration() const override { return calibration_; }
    std::optional<LogSignature> lastSignature() const override { return signature_; }

  private:
    sdr::SdrSettings settings_;
    rig::ReadingPlan reading_;
    char sep_;
    std::stop_token stop_;
    NoiseObserver observer_;
    std::string label_;
    ReadingCalibration calibration_;  // of the last reading
    std::unique_ptr<sdr::SdrSession> session_;
    std::optional<LogSignature> signature_;
};

}  // namespace fw
