#pragma once
// An open connection to a rig through Hamlib. Opening connects (and checks that a rigctld
// answers at all); the destructor closes it. Use one session from one thread at a time;
// calls of all sessions in the process are serialised, because Hamlib keeps global state.
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "libs/unique_fd.h"
#include "rig/rig_control.h"
#include "rig/rig_settings.h"

struct s_rig;

namespace fw::rig {

class DaemonCheck;

class RigSession final : public RigControl {
  public:
    // Connects and opens the rig; throws RigError ("rigctld not reachable at HOST:PORT",
    // "rig not responding", "rig not reachable at DEVICE: ...", a refused setting, or
    // Hamlib's text), RigSettingsError for an unknown model or setting name, and Cancelled
    // when `stop` is requested before the rig is open. Once the rig is open, `stop` cuts the
    // session: a rigctld's connection is shut at once, so that a call waiting for a daemon
    // that stopped answering ends now rather than at its timeout, and that call and every
    // later one throw RigError CutText. A rigctld is asked through `check`
    // first (one of the session's own where none is given); a caller that connects again and
    // again passes its own, so that a daemon that stopped answering never has more than one
    // connection of ours waiting.
    explicit RigSession(const RigConnection& connection, std::stop_token stop = {},
                        DaemonCheck* check = nullptr);
    ~RigSession() override;
    RigSession(const RigSession&) = delete;
    RigSession& operator=(const RigSession&) = delete;

    double frequencyHz() override;
    void setFrequencyHz(double hz) override;
    RigMode mode() override;
    void setMode(const RigMode& mode) override;
    // STRENGTH; where the rig has none, RAWSTR through the rig's calibration table.
    double strengthDb() override;

    const RigConnection& connection() const { return connection_; }

  private:
    struct Closer {
        void operator()(s_rig* rig) const;
    };
    // Creates the rig, applies the settings and opens it; Hamlib's result code.
    int open();
    [[noreturn]] void fail(int hamlibCode) const;

    // Throws RigError CutText once the session was cut.
    void checkCut() const;
    // Shuts the connection to a rigctld where `stop` is requested, from then on.
    void cutOn(std::stop_token stop);

    RigConnection connection_;
    UniqueFd probe_;  // rigctld's reachability check, held open until after rig_ is closed
    std::unique_ptr<s_rig, Closer> rig_;
    std::stop_token stop_;
    // Destroyed before rig_ is closed, so that it never shuts a descriptor used anew.
    std::optional<std::stop_callback<std::function<void()>>> cutter_;
};

// Why a call of a session that was cut failed.
inline constexpr const char* CutText = "stopped while waiting for the rig";

// Whether Hamlib knows a mode of this name ("LSB", "USB", "AM", "CW", "FM", ...).
bool IsRigModeName(const std::string& name);

}  // namespace fw::rig
