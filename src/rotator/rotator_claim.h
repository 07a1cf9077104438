#pragma once
// One user of a rotator at a time, across processes, by the receivers' lock on a file keyed
// as a rigctld's is: by the address of the peer a connection reaches, and the port, so that
// every way of writing one daemon takes one lock.
#include <memory>
#include <string>

#include "rotator/rotctld_client.h"
#include "receiver/receiver_lock.h"

namespace fw::rotator {

struct ClaimedRotator {
    receiver::ReceiverLock lock;
    std::unique_ptr<RotctldClient> rotator;  // on the connection that named the lock
    // "rotctld at HOST:PORT (Dummy rotator)": the daemon and the rotator it says it drives,
    // as the log keeps it.
    std::string label;
};

// Connects within `timeoutMs`, takes the rotator for `user` without waiting and asks what it
// is. Throws
// RotatorError "rotctld not reachable at HOST:PORT", receiver::ReceiverError "rotator in use by USER
// (pid N)" or why the lock file cannot be made, rig::Cancelled.
ClaimedRotator ClaimRotator(const rig::RigctldAddress& address, const std::string& user,
                            std::stop_token stop = {}, int timeoutMs = RotctldAnswerTimeoutMs);

}  // namespace fw::rotator
