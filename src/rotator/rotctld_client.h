#pragma once
// A rotator behind Hamlib's rotctld, over a plain TCP connection: "p" asks the position
// ("AZ\nEL\n"), "P AZ EL" sets it ("RPRT 0"). Every answer is waited for within a timeout
// and a stop request; a connection that the daemon dropped is made again once.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "rotator/rotator.h"
#include "libs/unique_fd.h"
#include "rig/rig_settings.h"

namespace fw::rotator {

inline constexpr int DefaultRotctldPort = 4533;
// A rotator's controller answers over a serial line: a second is not always enough.
inline constexpr int RotctldAnswerTimeoutMs = 3000;

// "HOST:PORT", "HOST", ":PORT", "[IPV6]:PORT" or "" (localhost:4533), as a rigctld's
// address is written. Throws rig::RigSettingsError.
rig::RigctldAddress ParseRotctldAddress(std::string_view text);

// "rotctld at HOST:PORT".
std::string RotctldName(const rig::RigctldAddress& address);

class RotctldClient final : public Rotator {
  public:
    // Uses `connection` where it is open, otherwise connects on the first call.
    RotctldClient(rig::RigctldAddress address, UniqueFd connection = {},
                  int timeoutMs = RotctldAnswerTimeoutMs);

    RotatorPosition position(std::stop_token stop) override;
    void setPosition(const RotatorPosition& target, std::stop_token stop) override;
    std::string name() const override { return RotctldName(address_); }
    // What the daemon says its rotator is ("Dummy rotator"); empty where it does not say.
    // Throws RotatorError, rig::Cancelled.
    std::string model(std::stop_token stop);

  private:
    // Sends `command` and returns the answer's lines: `lines` of them, or the one "RPRT N"
    // line of an error. Throws RotatorError, rig::Cancelled.
    std::vector<std::string> ask(const std::string& command, std::size_t lines,
                                 const std::stop_token& stop);
    enum class Got { Line, Closed };
    Got readLine(std::string& line, std::chrono::steady_clock::time_point deadline,
                 const std::stop_token& stop);

    rig::RigctldAddress address_;
    UniqueFd fd_;
    int timeoutMs_;
    std::string pending_;  // received, not yet read as a line
};

}  // namespace fw::rotator
