#pragma once
// Whether something accepts TCP connections at an address, within a time limit.
#include <string>
#include <string_view>

namespace fw::rig {

// Resolves `host` and tries to connect to each of its addresses until one accepts or
// `timeoutMs` has passed; sends `farewell` and closes the connection again. Never blocks
// longer than the limit (name resolution aside). rigctld needs its quit command as farewell:
// a client that just hangs up can make it drop the connection accepted next.
bool TcpAccepts(const std::string& host, int port, int timeoutMs, std::string_view farewell);

}  // namespace fw::rig
