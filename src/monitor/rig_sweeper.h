#pragma once
// The monitor's receiver over the rig layer: one session, opened on connect and closed on
// disconnect, tuned band by band as a rig sweep tunes it, and put back at the end of every
// sweep to the frequency and mode it had before that sweep's first band (not those it has
// after a reconnection, when the sweep may already have moved it). An operator who tunes
// the rig between sweeps keeps that tuning; one that could not be put back stays the way
// back of the next sweep.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/sweeper.h"
#include "rig/daemon_check.h"
#include "rig/rig_session.h"
#include "rig/rig_settings.h"
#include "rig/stop_grace.h"
#include "rig/sweep.h"

namespace fw {

// The monitor's bands: those of "80m,40m", or all of them without a list. Each is checked as
// an entry checks it with `reading` (gain, bandwidth, calibration), before the rig is
// touched. Throws rig::ReadingInputError naming an unknown band, an empty item or a refused
// input.
std::vector<LogBand> CheckedMonitorBands(const std::optional<std::string_view>& commaList,
                                         const rig::ReadingPlan& reading, char sep);

// Where the monitor reads `band`: its band, or a free frequency; checked against `reading`.
// Throws rig::ReadingInputError.
rig::ResolvedTarget ResolveMonitorBand(const LogBand& band, const rig::ReadingPlan& reading,
                                       char sep);

class RigSweeper final : public Sweeper {
  public:
    // `plan` gives the mode rule, the settle time and the reading plan (samples, gain,
    // bandwidth, calibration offsets); its targets are not used. `sep` is the decimal
    // separator of the entry path. The run's stop request (pacing.stop) ends the settle and
    // sample waits and a connection attempt within one wait slice; the reading it cuts short
    // is dropped. The restore after a stop still connects where needed; a rig call still in
    // progress and the restore are cut short a grace after the stop, or at once when `hurry`
    // is requested too (a second Ctrl-C).
    RigSweeper(rig::RigConnection connection, rig::SweepPlan plan, char sep,
               rig::Pacing pacing = {}, std::stop_token hurry = {});
    ~RigSweeper() override;

    std::string connect() override;
    void disconnect() override;
    std::string endSweep() override;
    BandReadResult read(const LogBand& band) override;
    std::string rigName() const override { return rigName_; }
    ReadingCalibration calibration() const override { return {offsetDb_, std::nullopt}; }

  private:
    void open();

    rig::RigConnection connection_;
    rig::SweepPlan plan_;
    char sep_;
    rig::Pacing pacing_;
    rig::StopGrace grace_;  // the sessions' cut
    std::string rigName_;
    double offsetDb_ = 0;  // of the last reading
    rig::DaemonCheck check_;  // kept across connections: one waiting at a stalled daemon
    std::unique_ptr<rig::RigSession> session_;
    std::optional<rig::Tuning> home_;  // the rig's own tuning, read before each sweep
    std::optional<rig::Tuning> left_;  // where the run tuned it; none while it is home
};

// The rig model as the log records it: Hamlib's manufacturer and model name of a rig
// driven directly, "rigctld at HOST:PORT" for a rigctld.
std::string RigNameFor(const rig::RigConnection& connection);

}  // namespace fw
