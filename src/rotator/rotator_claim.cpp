#include "rotator/rotator_claim.h"

#include "rig/tcp_probe.h"

namespace fw::rotator {

ClaimedRotator ClaimRotator(const rig::RigctldAddress& address, const std::string& user,
                            int timeoutMs) {
    rig::Peer peer = rig::ConnectedPeer(address.host, address.port, timeoutMs);
    if (!peer.connection.valid())
        throw RotatorError("rotctld not reachable at " + rig::AddressText(address));
    const std::string name = "rotctld-" + receiver::FileNamePart(peer.key) + "-" +
                             std::to_string(address.port) + ".lock";
    receiver::ReceiverLock lock(name, user, "rotator");
    return {std::move(lock),
            std::make_unique<RotctldClient>(address, std::move(peer.connection), timeoutMs)};
}

}  // namespace fw::rotator
