#pragma once
// The window's network tests' throwaway PostgreSQL cluster: the network's schema and the
// station DL1ABC in JO40CQ.
#include <memory>
#include <string>

#include "network/server_schema.h"
#include "network/stations.h"
#include "support/pg_cluster.h"

namespace fw::testing {

// Empty when the cluster runs, otherwise why not.
inline std::string StartNetworkCluster(std::unique_ptr<test::PgCluster>& cluster) {
    setlocale(LC_NUMERIC, "C");
    cluster = std::make_unique<test::PgCluster>();
    if (!cluster->error().empty()) return cluster->error();
    PgConnection conn(cluster->conninfo());
    InitServerSchema(conn);
    AddStation(conn, {"DL1ABC", ParseMaidenhead("JO40CQ").value(), ""});
    return {};
}

}  // namespace fw::testing
