#include "monitor/receiver_sweeper.h"

#include "model/levels.h"
#include "monitor/logged_signature.h"
#include "rig/sweep.h"
#include "sdr/sdr_open.h"

namespace fw {

std::vector<LogBand> CheckedMonitorBands(const std::optional<std::string_view>& commaList,
                                         const rig::ReadingPlan& reading, char sep) {
    std::vector<LogBand> bands;
    if (!commaList) {
        bands = AllBands();
    } else {
        for (const receiver::Target& t : rig::BandTargets(*commaList))
            bands.push_back({t.band, BandFrequencyMHz(t.band)});
    }
    for (const LogBand& b : bands)
        rig::ResolveTarget(receiver::Target::Band(b.band), reading, sep);
    return bands;
}

receiver::ResolvedTarget ResolveMonitorBand(const LogBand& band, const rig::ReadingPlan& reading,
                                            char sep) {
    const receiver::Target target =
        band.band.empty() ? receiver::Target::Free(rig::ExactNumberText(band.freqMHz, sep))
                          : receiver::Target::Band(band.band);
    return rig::ResolveTarget(target, reading, sep);
}

SdrEstimate EstimateOf(const NoiseFloor& floor) {
    return SdrEstimate{floor.densityDbfsPerHz,
                       floor.segments,
                       floor.fftLength,
                       floor.binsUsed,
                       floor.occupancy * 100,
                       floor.percentile,
                       static_cast<std::int64_t>(floor.fullScaleSamples)};
}

ReceiverSweeper::ReceiverSweeper(std::unique_ptr<receiver::Receiver> receiver,
                                 ReadingSource source, rig::ReadingPlan reading, char sep,
                                 std::stop_token stop, NoiseObserver observer)
    : receiver_(std::move(receiver)),
      source_(source),
      reading_(std::move(reading)),
      sep_(sep),
      stop_(std::move(stop)),
      observer_(std::move(observer)) {}

ReceiverSweeper::~ReceiverSweeper() {
    endSweep();
    disconnect();
}

std::string ReceiverSweeper::connect() {
    // A device is opened once: the old connection goes before the new one is opened.
    disconnect();
    try {
        receiver_->open(stop_);
        // Also a check that the receiver answers; right before a sweep's first band, or
        // within one.
        receiver_->begin(stop_);
        return {};
    } catch (const receiver::Cancelled& e) {
        return source_ == ReadingSource::Sdr ? sdr::StoppedWhileOpeningText : e.what();
    } catch (const std::exception& e) {
        return e.what();
    }
}

void ReceiverSweeper::disconnect() {
    receiver_->close();
}

std::string ReceiverSweeper::endSweep() {
    return receiver_->restore();
}

BandReadResult ReceiverSweeper::read(const LogBand& band) {
    signature_.reset();
    try {
        const receiver::ResolvedTarget where = ResolveMonitorBand(band, reading_, sep_);
        receiver_->tune(where, stop_);
        receiver::Reading r = receiver_->read(where, stop_);
        if (!r.fromSdr()) {
            calibration_ = {r.offsetDb, std::nullopt};
            return BandReading(std::move(r.entry.row));
        }
        if (observer_) observer_(r);
        const receiver::SdrDetails& sdr = r.sdr();
        calibration_ = {r.offsetDb, sdr.refDbm};
        if (sdr.signature) signature_ = ToLogSignature(sdr.signature.value());
        return BandReading(r.entry.row, EstimateOf(sdr.floor));
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
}

}  // namespace fw
