#include "rotator/scan_receiver.h"

#include "receiver/receiver_lock.h"
#include "rig/rig_lock.h"
#include "rig/rig_receiver.h"
#include "sdr/sdr_lock.h"
#include "sdr/sdr_receiver.h"

namespace fw::rotator {

namespace {

// A receiver taken for the scan and tuned to its target until it is given back.
class TunedReceiver final : public ScanReceiver {
  public:
    TunedReceiver(receiver::ReceiverLock lock, std::unique_ptr<receiver::Receiver> device,
                  const receiver::ResolvedTarget& where, std::string name, std::string unit,
                  std::stop_token stop)
        : lock_(std::move(lock)),
          device_(std::move(device)),
          where_(where),
          name_(std::move(name)),
          unit_(std::move(unit)) {
        device_->open(stop);
        device_->begin(stop);
        try {
            if (stop.stop_requested()) throw receiver::Cancelled();
            device_->tune(where_, stop);
        } catch (...) {
            giveBack();
            throw;
        }
    }
    ~TunedReceiver() override {
        if (!givenBack_) giveBack();
    }

    double read(std::stop_token stop) override {
        const receiver::Reading r = device_->read(where_, std::move(stop));
        return r.fromSdr() ? r.sdr().antPowerDbm : r.rig().antVoltDbuV;
    }
    std::string giveBack() override {
        givenBack_ = true;
        return device_->restore();
    }
    std::string name() const override { return name_.empty() ? device_->name() : name_; }
    std::string unit() const override { return unit_; }

  private:
    receiver::ReceiverLock lock_;
    std::unique_ptr<receiver::Receiver> device_;
    receiver::ResolvedTarget where_;
    std::string name_;  // empty: the receiver's own
    std::string unit_;
    bool givenBack_ = false;
};

}  // namespace

std::unique_ptr<ScanReceiver> OpenScanRig(const rig::RigConnection& connection,
                                          const rig::SweepPlan& plan,
                                          const receiver::ResolvedTarget& where,
                                          const std::string& user, std::stop_token stop,
                                          std::stop_token hurry, char sep) {
    receiver::ReceiverLock lock = rig::LockRig(connection, user);
    auto rig = std::make_unique<rig::RigReceiver>(connection, plan, sep, stop, std::move(hurry));
    return std::make_unique<TunedReceiver>(std::move(lock), std::move(rig), where,
                                           rig::ConnectionLabel(connection), "dBuV",
                                           std::move(stop));
}

std::unique_ptr<ScanReceiver> OpenScanSdr(const sdr::SdrSettings& settings,
                                          const rig::ReadingPlan& plan,
                                          const receiver::ResolvedTarget& where,
                                          const std::string& user, std::stop_token stop, char sep) {
    sdr::ClaimedSdr claimed = sdr::ClaimSdr(settings, user, stop);
    auto sdr = std::make_unique<sdr::SdrReceiver>(std::move(claimed.settings), plan, sep);
    return std::make_unique<TunedReceiver>(std::move(claimed.lock), std::move(sdr), where, "",
                                           "dBm", std::move(stop));
}

}  // namespace fw::rotator
