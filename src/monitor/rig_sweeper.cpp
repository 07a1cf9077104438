#include "monitor/rig_sweeper.h"

#include <cmath>

#include "model/levels.h"
#include "rig/rig_error.h"
#include "rig/rig_models.h"

namespace fw {

std::vector<LogBand> CheckedMonitorBands(const std::optional<std::string_view>& commaList,
                                         const rig::ReadingPlan& reading, char sep) {
    std::vector<LogBand> bands;
    if (!commaList) {
        bands = AllBands();
    } else {
        for (const rig::RigTarget& t : rig::BandTargets(*commaList))
            bands.push_back({t.band, BandFrequencyMHz(t.band)});
    }
    for (const LogBand& b : bands) rig::ResolveTarget(rig::RigTarget::Band(b.band), reading, sep);
    return bands;
}

rig::ResolvedTarget ResolveMonitorBand(const LogBand& band, const rig::ReadingPlan& reading,
                                       char sep) {
    const rig::RigTarget target = band.band.empty()
                                      ? rig::RigTarget::Free(rig::ExactNumberText(band.freqMHz, sep))
                                      : rig::RigTarget::Band(band.band);
    return rig::ResolveTarget(target, reading, sep);
}

std::string RigNameFor(const rig::RigConnection& connection) {
    const auto* direct = std::get_if<rig::DirectRig>(&connection.target);
    if (!direct) return rig::ConnectionLabel(connection);
    for (const rig::RigModelInfo& m : rig::RigModels())
        if (m.model == direct->model) return m.manufacturer + " " + m.name;
    return rig::ConnectionLabel(connection);
}

RigSweeper::RigSweeper(rig::RigConnection connection, rig::SweepPlan plan, char sep,
                       rig::Pacing pacing, std::stop_token hurry)
    : connection_(std::move(connection)),
      plan_(std::move(plan)),
      sep_(sep),
      pacing_(std::move(pacing)),
      grace_(pacing_.stop, std::move(hurry)),
      rigName_(RigNameFor(connection_)) {}

RigSweeper::~RigSweeper() {
    endSweep();
    disconnect();
}

void RigSweeper::open() {
    disconnect();
    session_ = std::make_unique<rig::RigSession>(connection_, grace_.token(), &check_);
}

std::string RigSweeper::connect() {
    try {
        open();
        // Also a check that the rig answers; right before a sweep's first band, or within one.
        if (!home_) home_ = rig::ReadTuning(*session_);
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

void RigSweeper::disconnect() {
    session_.reset();
}

std::string RigSweeper::endSweep() {
    if (!left_ || !home_) {
        home_.reset();  // read afresh before the next sweep tunes
        return {};
    }
    try {
        // After a stop too, until its grace is over.
        if (!session_) open();
    } catch (const std::exception& e) {
        return rig::NotRestoredText(e.what(), *left_, *home_);
    }
    std::string failure = rig::RestoreTuning(*session_, *home_, *left_);
    if (failure.empty()) {
        left_.reset();
        home_.reset();
    }
    return failure;
}

BandReadResult RigSweeper::read(const LogBand& band) {
    if (!session_) return std::string(rig::NotRespondingText);
    try {
        const rig::ResolvedTarget where = ResolveMonitorBand(band, plan_.reading, sep_);
        // Never tuned away before the way back is known.
        if (!home_) home_ = rig::ReadTuning(*session_);
        if (!left_) left_ = home_;
        // Tuned as a rig sweep tunes: frequency, mode by the rule, settle, then the samples.
        const double hz = std::round(where.frequencyMHz * 1e6);
        session_->setFrequencyHz(hz);
        left_->frequencyHz = hz;
        const rig::RigMode mode{rig::ModeFor(plan_.modes, where.target.band, where.frequencyMHz),
                                0};
        session_->setMode(mode);
        left_->mode = mode;
        rig::Wait(pacing_, plan_.settle);
        rig::Reading reading = rig::TakeReading(*session_, where, plan_.reading, pacing_, sep_);
        offsetDb_ = reading.offsetDb;
        return std::move(reading.entry.row);
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
}

}  // namespace fw
