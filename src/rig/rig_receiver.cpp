#include "rig/rig_receiver.h"

#include <cmath>

#include "rig/rig_error.h"
#include "rig/rig_models.h"

namespace fw::rig {

std::string RigNameFor(const RigConnection& connection) {
    const auto* direct = std::get_if<DirectRig>(&connection.target);
    if (!direct) return ConnectionLabel(connection);
    for (const RigModelInfo& m : RigModels())
        if (m.model == direct->model) return m.manufacturer + " " + m.name;
    return ConnectionLabel(connection);
}

RigReceiver::RigReceiver(RigConnection connection, SweepPlan plan, char sep,
                         std::stop_token stop, std::stop_token hurry)
    : connection_(std::move(connection)),
      plan_(std::move(plan)),
      sep_(sep),
      name_(RigNameFor(*connection_)) {
    grace_.emplace(std::move(stop), std::move(hurry));
}

RigReceiver::RigReceiver(RigControl& rig, SweepPlan plan, char sep, Sleep sleep)
    : plan_(std::move(plan)), sep_(sep), sleep_(std::move(sleep)), name_("rig"), rig_(&rig) {}

RigReceiver::~RigReceiver() = default;

void RigReceiver::open(std::stop_token) {
    if (!connection_ || session_) return;
    session_ = std::make_unique<RigSession>(*connection_, grace_->token(), &check_);
    rig_ = session_.get();
}

void RigReceiver::close() noexcept {
    if (!connection_) return;
    rig_ = nullptr;
    session_.reset();
}

RigControl& RigReceiver::rig() {
    if (!rig_) throw RigError(NotRespondingText);
    return *rig_;
}

void RigReceiver::begin(std::stop_token) {
    if (!home_) home_ = ReadTuning(rig());
}

void RigReceiver::tune(const receiver::ResolvedTarget& where, std::stop_token stop) {
    RigControl& tuned = rig();
    // Never tuned away before the way back is known.
    begin(stop);
    if (!left_) left_ = home_;
    const receiver::Pacing paced = pacing(std::move(stop));
    const double hz = std::round(where.frequencyMHz * 1e6);
    tuned.setFrequencyHz(hz);
    left_->frequencyHz = hz;
    CheckStop(paced);
    const RigMode mode{ModeFor(plan_.modes, where.target.band, where.frequencyMHz), 0};
    tuned.setMode(mode);
    left_->mode = mode;
    Wait(paced, plan_.settle);
}

receiver::Reading RigReceiver::read(const receiver::ResolvedTarget& where, std::stop_token stop) {
    return TakeReading(rig(), where, plan_.reading, pacing(std::move(stop)), sep_);
}

receiver::Reading RigReceiver::readHere(std::stop_token stop) {
    return ReadHere(rig(), plan_.reading, pacing(std::move(stop)), sep_);
}

std::string RigReceiver::restore() {
    if (!left_ || !home_) {
        home_.reset();  // noted afresh before the next sweep tunes
        return {};
    }
    try {
        // After a stop too, until its grace is over.
        open({});
        rig();
    } catch (const std::exception& e) {
        return NotRestoredText(e.what(), *left_, *home_);
    }
    std::string failure = RestoreTuning(*rig_, *home_, *left_);
    if (failure.empty()) {
        left_.reset();
        home_.reset();
    }
    return failure;
}

}  // namespace fw::rig
