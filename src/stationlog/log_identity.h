#pragma once
// The identity of a station log: a UUID that tells its readings apart from those of the
// station's other logs on the network's server.
#include <optional>
#include <string>

#include "stationlog/station_log.h"

namespace fw {

// The log's identity: the one kept in the log; in a log too old to keep one (read only, so
// not brought up to date), the one it will get, made from its first reading or gap. None for
// a log without readings and gaps that keeps none.
std::optional<std::string> LogIdentity(StationLog& log);

// Gives a log that may be written its identity where it has none: made from its first
// reading or gap, so that a log read before it could be written keeps the identity it had
// then; a random one for an empty log.
void EnsureLogIdentity(SqliteDb& db);

}  // namespace fw
