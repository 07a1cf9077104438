#include "rotator/rotator_claim.h"

#include "rig/tcp_probe.h"

namespace fw::rotator {

ClaimedRotator ClaimRotator(const rig::RigctldAddress& address, const std::string& user,
                            std::stop_token stop, int timeoutMs) {
    rig::Peer peer = rig::ConnectedPeer(address.host, address.port, timeoutMs);
    if (!peer.connection.valid())
        throw RotatorError("rotctld not reachable at " + rig::AddressText(address));
    const std::string name = "rotctld-" + receiver::FileNamePart(peer.key) + "-" +
                             std::to_string(address.port) + ".lock";
    receiver::ReceiverLock lock(name, user, "rotator");
    auto rotator = std::make_unique<RotctldClient>(address, std::move(peer.connection), timeoutMs);
    const std::string model = rotator->model(stop);
    std::string label = rotator->name() + (model.empty() ? "" : " (" + model + ")");
    return {std::move(lock), std::move(rotator), std::move(label)};
}

}  // namespace fw::rotator
