#pragma once
// The campaign server's tables, in the schema "floorwatch" of the database, with a version
// of their own that init brings up step by step.
#include "network/pg_connection.h"

namespace fw {

// 1: stations, logs and their progress, readings and gaps partitioned by month, hourly
//    values, the station group role and row-level security.
inline constexpr int ServerSchemaVersion = 1;

// The group role that every station's login role belongs to.
inline constexpr const char* StationGroupRole = "floorwatch_station";

// Creates or brings up to date the schema in one transaction together with its version;
// two administrators at once wait for each other. Returns the version. Refuses
// (NetworkError) a server whose schema is newer than this program's.
int InitServerSchema(PgConnection& conn);

// The server's schema version; 0 where init has not run. Refuses a newer one, and an older
// one with a request to run init.
int CheckServerSchema(PgConnection& conn);

}  // namespace fw
