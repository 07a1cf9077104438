#pragma once
// Whether something accepts TCP connections at an address, within a time limit.
#include <string>

namespace fw::rig {

// Resolves `host` and tries to connect to each of its addresses until one accepts or
// `timeoutMs` has passed; closes the connection again. Never blocks longer than the limit
// (name resolution aside).
bool TcpAccepts(const std::string& host, int port, int timeoutMs);

}  // namespace fw::rig
