#pragma once
// Whether a rigctld answers at all, asked over a connection of our own before Hamlib connects.
// A daemon that has stopped (SIGSTOP, a hung machine) still lets the kernel complete
// connections until its queue is full, after which every further connect hangs for minutes.
// So the check keeps its one connection while no answer came and asks on it again next time:
// never more than one of ours waits at the daemon.
#include <stop_token>
#include <string>

#include "libs/unique_fd.h"
#include "rig/rig_settings.h"

namespace fw::rig {

class DaemonCheck {
  public:
    // Connects within `timeoutMs` where no connection is kept, asks the daemon a question it
    // answers without the rig, and waits for the answer for up to `timeoutMs`, seeing a stop
    // request within one wait slice. Throws RigError "rigctld not reachable at HOST:PORT"
    // when nothing listens, "rig not responding" when no answer came (the connection is
    // kept for the next call), Cancelled on a stop.
    void check(const RigctldAddress& address, int timeoutMs, const std::stop_token& stop);

    // The answered connection, handed over to be held as long as Hamlib's.
    UniqueFd take() { return std::move(fd_); }

  private:
    enum class Answer { Given, Closed, None };
    // Connects where needed and asks; throws RigError when nothing listens.
    void ask(const RigctldAddress& address, int timeoutMs);
    // Waits for the answer; Closed when the daemon dropped the connection (which is then
    // let go), None when no answer came in time or a stop was requested.
    Answer answer(int timeoutMs, const std::stop_token& stop);

    UniqueFd fd_;
    bool asked_ = false;  // the question was sent on fd_
};

}  // namespace fw::rig
