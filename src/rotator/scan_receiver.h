#pragma once
// The receiver of a bearing scan (a receiver::Receiver): taken for the scan's user, tuned
// once to the scan's band, read at each bearing (the rig's S-meter median as an antenna
// voltage, the SDR's noise density as an antenna power), and tuned back as after a sweep.
#include <memory>
#include <stop_token>
#include <string>

#include "rig/reading.h"
#include "rig/rig_settings.h"
#include "rig/sweep.h"
#include "sdr/sdr_session.h"

namespace fw::rotator {

class ScanReceiver {
  public:
    virtual ~ScanReceiver() = default;
    // One reading at the scan's tuning, in unit(). Throws on failure, receiver::Cancelled.
    virtual double read(std::stop_token stop) = 0;
    // Puts the receiver's own tuning back; empty when it is back (or was never moved).
    virtual std::string giveBack() = 0;
    // The rig or the SDR, as the log records it.
    virtual std::string name() const = 0;
    virtual std::string unit() const = 0;  // "dBuV", "dBm"
};

// The rig of `connection`, locked for `user`, tuned to `where` in the mode of `plan.modes`
// and settled. The stop ends the waits; a rig call in progress and the giving back are cut a
// grace after it, or at `hurry`. Throws receiver::ReceiverError, rig::RigSettingsError, receiver::Cancelled.
std::unique_ptr<ScanReceiver> OpenScanRig(const rig::RigConnection& connection,
                                          const rig::SweepPlan& plan,
                                          const receiver::ResolvedTarget& where,
                                          const std::string& user, std::stop_token stop,
                                          std::stop_token hurry, char sep);

// The SDR of `settings`, found, locked for `user` and opened; it is tuned at every capture.
// Throws receiver::ReceiverError, receiver::Cancelled.
std::unique_ptr<ScanReceiver> OpenScanSdr(const sdr::SdrSettings& settings,
                                          const rig::ReadingPlan& plan,
                                          const receiver::ResolvedTarget& where,
                                          const std::string& user, std::stop_token stop, char sep);

}  // namespace fw::rotator
