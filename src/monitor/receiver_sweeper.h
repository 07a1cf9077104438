#pragma once
// The monitor's receiver: the rig or an SDR behind receiver::Receiver, opened on connect and
// closed on disconnect, tuned and read band by band, and put back at the end of every sweep
// to the tuning it had before that sweep's first band (see rig::RigReceiver). Readings are
// logged with the receiver's source and name.
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/sweeper.h"
#include "receiver/receiver.h"
#include "rig/reading.h"

namespace fw {

// The monitor's bands: those of "80m,40m", or all of them without a list. Each is checked as
// an entry checks it with `reading` (gain, bandwidth, calibration), before the receiver is
// touched. Throws rig::ReadingInputError naming an unknown band, an empty item or a refused
// input.
std::vector<LogBand> CheckedMonitorBands(const std::optional<std::string_view>& commaList,
                                         const rig::ReadingPlan& reading, char sep);

// Where the monitor reads `band`: its band, or a free frequency; checked against `reading`.
// Throws rig::ReadingInputError.
receiver::ResolvedTarget ResolveMonitorBand(const LogBand& band, const rig::ReadingPlan& reading,
                                            char sep);

// Told each SDR measurement before its row is logged: the noise floor and the used spectrum.
using NoiseObserver = std::function<void(const receiver::Reading&)>;

// What the station log keeps of a reading's estimate.
SdrEstimate EstimateOf(const NoiseFloor& floor);

class ReceiverSweeper final : public Sweeper {
  public:
    // `reading` gives the gain, the bandwidth and the calibration offsets the bands are
    // checked with; `sep` is the decimal separator of the entry path. `stop` (the run's stop
    // request) ends the receiver's waits; the reading it cuts short is dropped.
    ReceiverSweeper(std::unique_ptr<receiver::Receiver> receiver, ReadingSource source,
                    rig::ReadingPlan reading, char sep, std::stop_token stop = {},
                    NoiseObserver observer = {});
    ~ReceiverSweeper() override;

    std::string connect() override;
    void disconnect() override;
    std::string endSweep() override;
    BandReadResult read(const LogBand& band) override;
    std::string rigName() const override { return receiver_->name(); }
    ReadingCalibration calibration() const override { return calibration_; }
    ReadingSource source() const override { return source_; }
    std::optional<LogSignature> lastSignature() const override { return signature_; }

  private:
    std::unique_ptr<receiver::Receiver> receiver_;
    ReadingSource source_;
    rig::ReadingPlan reading_;
    char sep_;
    std::stop_token stop_;
    NoiseObserver observer_;
    ReadingCalibration calibration_;  // of the last reading
    std::optional<LogSignature> signature_;
};

}  // namespace fw
