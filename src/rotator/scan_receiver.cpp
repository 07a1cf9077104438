#include "rotator/scan_receiver.h"

#include <cmath>
#include <optional>

#include "rig/pacing.h"
#include "rig/rig_lock.h"
#include "rig/rig_session.h"
#include "rig/stop_grace.h"
#include "sdr/sdr_lock.h"
#include "sdr/sdr_open.h"
#include "sdr/sdr_sweep.h"

namespace fw::rotator {

namespace {

class RigReceiver final : public ScanReceiver {
  public:
    RigReceiver(const rig::RigConnection& connection, const rig::SweepPlan& plan,
                const rig::ResolvedTarget& where, const std::string& user, std::stop_token stop,
                std::stop_token hurry, char sep)
        : lock_(connection, user),
          grace_(stop, std::move(hurry)),
          session_(connection, grace_.token()),
          guard_(session_),
          plan_(plan),
          where_(where),
          name_(rig::ConnectionLabel(connection)),
          sep_(sep),
          stop_(std::move(stop)) {
        const rig::Pacing pacing{stop_, {}};
        rig::CheckStop(pacing);
        guard_.setFrequencyHz(std::round(where_.frequencyMHz * 1e6));
        rig::CheckStop(pacing);
        guard_.setMode({rig::ModeFor(plan_.modes, where_.target.band, where_.frequencyMHz), 0});
        rig::Wait(pacing, plan_.settle);
    }

    double read(std::stop_token stop) override {
        return rig::TakeReading(guard_, where_, plan_.reading, rig::Pacing{stop, {}}, sep_).antVoltDbuV;
    }
    std::string giveBack() override { return guard_.restore(); }
    std::string name() const override { return name_; }
    std::string unit() const override { return "dBuV"; }

  private:
    rig::RigLock lock_;
    rig::StopGrace grace_;
    rig::RigSession session_;
    rig::TuningGuard guard_;
    rig::SweepPlan plan_;
    rig::ResolvedTarget where_;
    std::string name_;
    char sep_;
    std::stop_token stop_;
};

class SdrReceiver final : public ScanReceiver {
  public:
    SdrReceiver(const sdr::SdrSettings& settings, const rig::ReadingPlan& plan,
                const rig::ResolvedTarget& where, const std::string& user, std::stop_token stop,
                char sep)
        : claimed_(sdr::ClaimSdr(settings, user, stop)),
          session_(sdr::OpenSdrSession(claimed_.settings, stop)),
          plan_(plan),
          where_(where),
          sep_(sep) {}

    double read(std::stop_token stop) override {
        return sdr::ReadNoise(*session_, where_, claimed_.settings, plan_, stop, sep_).antPowerDbm;
    }
    std::string giveBack() override { return {}; }  // an SDR has no tuning of the user's own
    std::string name() const override { return session_->label(); }
    std::string unit() const override { return "dBm"; }

  private:
    sdr::ClaimedSdr claimed_;
    std::unique_ptr<sdr::SdrSession> session_;
    rig::ReadingPlan plan_;
    rig::ResolvedTarget where_;
    char sep_;
};

}  // namespace

std::unique_ptr<ScanReceiver> OpenScanRig(const rig::RigConnection& connection,
                                          const rig::SweepPlan& plan,
                                          const rig::ResolvedTarget& where,
                                          const std::string& user, std::stop_token stop,
                                          std::stop_token hurry, char sep) {
    return std::make_unique<RigReceiver>(connection, plan, where, user, std::move(stop),
                                         std::move(hurry), sep);
}

std::unique_ptr<ScanReceiver> OpenScanSdr(const sdr::SdrSettings& settings,
                                          const rig::ReadingPlan& plan,
                                          const rig::ResolvedTarget& where,
                                          const std::string& user, std::stop_token stop, char sep) {
    return std::make_unique<SdrReceiver>(settings, plan, where, user, std::move(stop), sep);
}

}  // namespace fw::rotator
