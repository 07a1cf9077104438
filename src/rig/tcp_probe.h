#pragma once
// A TCP connection made within a time limit, to learn whether something listens at an address.
#include <string>

#include "libs/unique_fd.h"

namespace fw::rig {

// Resolves `host` and tries to connect to each of its addresses until one accepts or
// `timeoutMs` has passed. Returns the connected socket, or an invalid one. Never blocks
// longer than the limit (name resolution aside).
UniqueFd TcpConnect(const std::string& host, int port, int timeoutMs);

// The numeric address `host` resolves to ("localhost" -> "127.0.0.1", "::1"), an IPv4 one
// where it has both; `host` as given where it does not resolve.
std::string NumericHost(const std::string& host);

}  // namespace fw::rig
