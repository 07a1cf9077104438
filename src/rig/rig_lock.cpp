#include "rig/rig_lock.h"

#include <filesystem>

#include "rig/tcp_probe.h"

namespace fw::rig {

namespace {

// A device the port names, as its one real path (a link such as /dev/serial/by-id/... to
// the device it stands for); any other port (an address, a default) as given.
std::string CanonicalPort(const std::string& port) {
    std::error_code ec;
    if (port.empty() || !std::filesystem::exists(port, ec)) return port;
    const std::filesystem::path real = std::filesystem::canonical(port, ec);
    return ec ? port : real.string();
}

}  // namespace

std::string RigLockFileName(const DirectRig& rig) {
    return "model-" + std::to_string(rig.model) + "-" +
           receiver::FileNamePart(CanonicalPort(rig.port)) + ".lock";
}

receiver::ReceiverLock LockRig(const RigConnection& connection, const std::string& user) {
    const auto* d = std::get_if<RigctldAddress>(&connection.target);
    if (!d) return {RigLockFileName(std::get<DirectRig>(connection.target)), user, "rig"};
    Peer peer = ConnectedPeer(d->host, d->port, connection.timeoutMs);
    const std::string name =
        "rigctld-" + receiver::FileNamePart(peer.key) + "-" + std::to_string(d->port) + ".lock";
    return {name, user, "rig", std::move(peer.connection)};
}

}  // namespace fw::rig
