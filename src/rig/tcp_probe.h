#pragma once
// A TCP connection made within a time limit, to learn whether something listens at an address.
#include <string>

#include "libs/unique_fd.h"

namespace fw::rig {

// Resolves `host` and tries to connect to each of its addresses until one accepts or
// `timeoutMs` has passed. Returns the connected socket, or an invalid one. Never blocks
// longer than the limit (name resolution aside).
UniqueFd TcpConnect(const std::string& host, int port, int timeoutMs);

// The rigctld at `host`:`port` as the peer a connection reaches, resolved once: connected
// within `timeoutMs`, its address in one canonical form (an IPv4-mapped IPv6 address as the
// IPv4 one, every loopback address as "loopback"), with the connection held open. Where
// nothing answers, the first address the name resolves to in that form; where the name does
// not resolve, `host` as given.
struct Peer {
    std::string key;
    UniqueFd connection;
};
Peer ConnectedPeer(const std::string& host, int port, int timeoutMs);

}  // namespace fw::rig
