#include "sdr/sdr_receiver.h"

#include "sdr/noise_reading.h"
#include "sdr/sdr_open.h"

namespace fw::sdr {

receiver::Reading ReadNoise(SdrSession& session, const receiver::ResolvedTarget& where,
                            const SdrSettings& settings, const rig::ReadingPlan& plan,
                            std::stop_token stop, char sep) {
    Capture c = session.capture(where.frequencyMHz * 1e6, settings.seconds, stop);
    receiver::Reading r =
        MakeNoiseReading(where, c.floor, std::move(c.spectrum), settings.refDbm, plan, sep);
    auto& details = std::get<receiver::SdrDetails>(r.details);
    details.signature = std::move(c.signature);
    details.overflows = c.overflows;
    details.timeouts = c.timeouts;
    return r;
}

SdrReceiver::SdrReceiver(SdrSettings settings, rig::ReadingPlan plan, char sep)
    : settings_(std::move(settings)), plan_(std::move(plan)), sep_(sep) {}

SdrReceiver::~SdrReceiver() = default;

void SdrReceiver::open(std::stop_token stop) {
    if (session_) return;
    session_ = OpenSdrSession(settings_, std::move(stop));
    label_ = session_->label();
}

void SdrReceiver::close() noexcept {
    session_.reset();
}

receiver::Reading SdrReceiver::read(const receiver::ResolvedTarget& where, std::stop_token stop) {
    if (!session_) throw SdrError("the device is not open");
    return ReadNoise(*session_, where, settings_, plan_, std::move(stop), sep_);
}

std::string SdrReceiver::name() const {
    return label_.empty() ? settings_.args : label_;
}

}  // namespace fw::sdr
