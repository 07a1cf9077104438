#pragma once
// A TCP connection made within a time limit, to learn whether something listens at an address.
#include <string>

#include "libs/unique_fd.h"

namespace fw::rig {

// Resolves `host` and tries to connect to each of its addresses until one accepts or
// `timeoutMs` has passed. Returns the connected socket, or an invalid one. Never blocks
// longer than the limit (name resolution aside).
UniqueFd TcpConnect(const std::string& host, int port, int timeoutMs);

}  // namespace fw::rig
