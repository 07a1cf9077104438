#pragma once
// The monitor's receiver over the rig layer: one session, opened on connect and closed on
// disconnect, tuned band by band as a rig sweep tunes it, and put back to its own frequency
// and mode at the end of every sweep.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/sweeper.h"
#include "rig/rig_session.h"
#include "rig/rig_settings.h"
#include "rig/sweep.h"

namespace fw {

// The monitor's bands: those of "80m,40m", or all of them without a list. Each is checked as
// an entry checks it with `reading` (gain, bandwidth, calibration), before the rig is
// touched. Throws rig::ReadingInputError naming an unknown band, an empty item or a refused
// input.
std::vector<LogBand> CheckedMonitorBands(const std::optional<std::string_view>& commaList,
                                         const rig::ReadingPlan& reading, char sep);

class RigSweeper final : public Sweeper {
  public:
    // `plan` gives the mode rule, the settle time and the reading plan (samples, gain,
    // bandwidth, calibration offsets); its targets are not used. `sep` is the decimal
    // separator of the entry path. A reading in hand is never cut short.
    RigSweeper(rig::RigConnection connection, rig::SweepPlan plan, char sep,
               rig::Pacing pacing = {});
    ~RigSweeper() override;

    std::string connect() override;
    void disconnect() override;
    void beginSweep() override;
    void endSweep() override;
    BandReadResult read(const LogBand& band) override;
    std::string rigName() const override { return rigName_; }

  private:
    rig::RigConnection connection_;
    rig::SweepPlan plan_;
    char sep_;
    rig::Pacing pacing_;
    std::string rigName_;
    std::unique_ptr<rig::RigSession> session_;
    std::unique_ptr<rig::TuningGuard> tuning_;  // destroyed before the session it uses
};

// The rig model as the log records it: Hamlib's manufacturer and model name of a rig
// driven directly, "rigctld at HOST:PORT" for a rigctld.
std::string RigNameFor(const rig::RigConnection& connection);

}  // namespace fw
