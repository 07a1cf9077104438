#pragma once
// The rig as a receiver (receiver/receiver.h): tuned as a sweep tunes it (frequency, then
// mode by the mode rule, then the settle time) and read by its S-meter. It is put back to
// the frequency and mode it had when begin() was first called after the last restore that
// succeeded: an operator who tunes the rig between sweeps keeps that tuning, and one that
// could not be put back stays the way back of the next sweep.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "receiver/receiver.h"
#include "rig/daemon_check.h"
#include "rig/rig_control.h"
#include "rig/rig_session.h"
#include "rig/rig_settings.h"
#include "rig/stop_grace.h"
#include "rig/sweep.h"

namespace fw::rig {

class RigReceiver final : public receiver::Receiver {
  public:
    using Sleep = std::function<void(std::chrono::milliseconds)>;

    // Over a connection, which open() opens and close() closes. `plan` gives the mode rule,
    // the settle time and the reading plan; its targets are not used. `sep` is the decimal
    // separator of the entry path. `stop` (the job's stop request) also cuts a rig call
    // still in progress and the restore, a grace after it or at once at `hurry` (a second
    // request).
    RigReceiver(RigConnection connection, SweepPlan plan, char sep, std::stop_token stop = {},
                std::stop_token hurry = {});
    // Over a rig already open, which open() and close() leave alone; `sleep` as Pacing's.
    RigReceiver(RigControl& rig, SweepPlan plan, char sep, Sleep sleep = {});
    ~RigReceiver() override;

    void open(std::stop_token stop) override;
    void begin(std::stop_token stop) override;
    void tune(const receiver::ResolvedTarget& where, std::stop_token stop) override;
    receiver::Reading read(const receiver::ResolvedTarget& where, std::stop_token stop) override;
    std::string restore() override;
    void close() noexcept override;
    std::string name() const override { return name_; }

    // A reading at the rig's present frequency, recorded as a free frequency; the rig is not
    // retuned (see ReadHere).
    receiver::Reading readHere(std::stop_token stop);

  private:
    RigControl& rig();  // throws RigError NotRespondingText while closed
    receiver::Pacing pacing(std::stop_token stop) const { return {std::move(stop), sleep_}; }

    std::optional<RigConnection> connection_;
    SweepPlan plan_;
    char sep_;
    Sleep sleep_;
    std::string name_;
    std::optional<StopGrace> grace_;  // the sessions' cut
    DaemonCheck check_;  // kept across connections: one waiting at a stalled daemon
    std::unique_ptr<RigSession> session_;
    RigControl* rig_ = nullptr;
    std::optional<Tuning> home_;  // the rig's own tuning, noted by begin()
    std::optional<Tuning> left_;  // where the rig was tuned; none while it is home
};

// The rig model as the log records it: Hamlib's manufacturer and model name of a rig
// driven directly, "rigctld at HOST:PORT" for a rigctld.
std::string RigNameFor(const RigConnection& connection);

}  // namespace fw::rig
