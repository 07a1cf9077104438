#pragma once
// The network tests' throwaway PostgreSQL cluster: the network's schema and the station DL1ABC
// in JO40CQ; with `evenings`, DK2XYZ in JO40CR and two days of 40 m hourly values from then,
// DL1ABC's 10 dB above DK2XYZ's from 18 to 23 UTC and equal before.
#include <cstdint>
#include <memory>
#include <string>

#include "network/server_schema.h"
#include "network/stations.h"
#include "support/pg_cluster.h"

namespace fw::testing {

// Empty when the cluster runs, otherwise why not.
inline std::string StartNetworkCluster(std::unique_ptr<test::PgCluster>& cluster,
                                       std::int64_t evenings = 0) {
    setlocale(LC_NUMERIC, "C");
    cluster = std::make_unique<test::PgCluster>();
    if (!cluster->error().empty()) return cluster->error();
    PgConnection conn(cluster->conninfo());
    InitServerSchema(conn);
    AddStation(conn, {"DL1ABC", ParseMaidenhead("JO40CQ").value(), ""});
    if (evenings == 0) return {};
    AddStation(conn, {"DK2XYZ", ParseMaidenhead("JO40CR").value(), ""});
    conn.exec("INSERT INTO floorwatch.hourly SELECT s, '40m', t, CASE WHEN s = 'DL1ABC' AND"
              " extract(hour FROM t) >= 18 THEN 50 ELSE 40 END, 6 FROM unnest(ARRAY['DL1ABC',"
              " 'DK2XYZ']) s, generate_series(to_timestamp($1), to_timestamp($1) + interval"
              " '47 hours', interval '1 hour') t", {std::to_string(evenings)});
    return {};
}

}  // namespace fw::testing
