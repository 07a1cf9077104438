#include "monitor/sdr_sweeper.h"

#include "monitor/logged_signature.h"
#include "monitor/rig_sweeper.h"
#include "rig/pacing.h"
#include "sdr/sdr_open.h"
#include "sdr/sdr_sweep.h"

namespace fw {

SdrSweeper::SdrSweeper(sdr::SdrSettings settings, rig::ReadingPlan reading, char sep,
                       std::stop_token stop, NoiseObserver observer)
    : settings_(std::move(settings)),
      reading_(std::move(reading)),
      sep_(sep),
      stop_(std::move(stop)),
      observer_(std::move(observer)) {}

SdrSweeper::~SdrSweeper() = default;

std::string SdrSweeper::connect() {
    // A device is opened once: the old session goes before the new one opens it.
    disconnect();
    try {
        session_ = sdr::OpenSdrSession(settings_, stop_);
        label_ = session_->label();
        return {};
    } catch (const sdr::SdrError& e) {
        return e.what();
    } catch (const rig::Cancelled&) {
        return sdr::StoppedWhileOpeningText;
    }
}

void SdrSweeper::disconnect() {
    session_.reset();
}

BandReadResult SdrSweeper::read(const LogBand& band) {
    signature_.reset();
    if (!session_) return std::string(sdr::SdrError("the device is not open").what());
    try {
        const rig::ResolvedTarget where = ResolveMonitorBand(band, reading_, sep_);
        const sdr::NoiseReading r = sdr::ReadNoise(*session_, where, settings_, reading_, stop_, sep_);
        if (observer_) observer_(r);
        calibration_ = {r.offsetDb, r.refDbm};
        if (r.signature) signature_ = ToLogSignature(r.signature.value());
        return BandReading(r.entry.row, EstimateOf(r.floor));
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
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

std::string SdrSweeper::rigName() const {
    return label_.empty() ? settings_.args : label_;
}

}  // namespace fw
