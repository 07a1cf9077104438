#include "monitor/rig_sweeper.h"

#include <cmath>

#include "model/levels.h"
#include "rig/rig_error.h"
#include "rig/rig_models.h"

namespace fw {

namespace {

rig::RigTarget TargetFor(const LogBand& band, char sep) {
    if (!band.band.empty()) return rig::RigTarget::Band(band.band);
    return rig::RigTarget::Free(rig::ExactNumberText(band.freqMHz, sep));
}

}  // namespace

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

std::string RigNameFor(const rig::RigConnection& connection) {
    const auto* direct = std::get_if<rig::DirectRig>(&connection.target);
    if (!direct) return rig::ConnectionLabel(connection);
    for (const rig::RigModelInfo& m : rig::RigModels())
        if (m.model == direct->model) return m.manufacturer + " " + m.name;
    return rig::ConnectionLabel(connection);
}

RigSweeper::RigSweeper(rig::RigConnection connection, rig::SweepPlan plan, char sep,
                       rig::Pacing pacing)
    : connection_(std::move(connection)),
      plan_(std::move(plan)),
      sep_(sep),
      pacing_(std::move(pacing)),
      rigName_(RigNameFor(connection_)) {}

RigSweeper::~RigSweeper() {
    disconnect();
}

std::string RigSweeper::connect() {
    disconnect();
    try {
        session_ = std::make_unique<rig::RigSession>(connection_);
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

void RigSweeper::disconnect() {
    tuning_.reset();  // puts the rig back where it can
    session_.reset();
}

void RigSweeper::beginSweep() {
    if (!session_) return;
    try {
        tuning_ = std::make_unique<rig::TuningGuard>(*session_);
    } catch (const std::exception&) {
        // The rig's own tuning cannot be read: sweep without putting it back; the first
        // band's reading will tell whether the rig answers at all.
        tuning_.reset();
    }
}

void RigSweeper::endSweep() {
    if (tuning_) tuning_->restore();
    tuning_.reset();
}

BandReadResult RigSweeper::read(const LogBand& band) {
    if (!session_) return std::string(rig::NotRespondingText);
    try {
        const rig::ResolvedTarget where =
            rig::ResolveTarget(TargetFor(band, sep_), plan_.reading, sep_);
        // Tuned as a rig sweep tunes: frequency, mode by the rule, settle, then the samples.
        session_->setFrequencyHz(std::round(where.frequencyMHz * 1e6));
        session_->setMode(
            rig::RigMode{rig::ModeFor(plan_.modes, where.target.band, where.frequencyMHz), 0});
        rig::Wait(pacing_, plan_.settle);
        return rig::TakeReading(*session_, where, plan_.reading, pacing_, sep_).entry.row;
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
}

}  // namespace fw
