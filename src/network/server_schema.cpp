#include "network/server_schema.h"

#include <array>
#include <string>

namespace fw {

namespace {

// Held by init for its transaction, so that two administrators do not apply one step twice.
constexpr const char* InitLockKey = "4671535001";

// A table of rows that a station writes: everyone with a station role reads all of them,
// a station inserts and changes only its own. The scalar subquery asks for the station once
// per statement, not once per row.
std::string OwnRowsOnly(const std::string& table) {
    const std::string t = "floorwatch." + table;
    return "ALTER TABLE " + t + " ENABLE ROW LEVEL SECURITY;"
           "CREATE POLICY read_all ON " + t + " FOR SELECT USING (true);"
           "CREATE POLICY insert_own ON " + t +
           " FOR INSERT WITH CHECK (callsign = (SELECT floorwatch.own_station()));"
           "CREATE POLICY update_own ON " + t +
           " FOR UPDATE USING (callsign = (SELECT floorwatch.own_station()))"
           " WITH CHECK (callsign = (SELECT floorwatch.own_station()));"
           "GRANT SELECT, INSERT, UPDATE ON " + t + " TO floorwatch_station;";
}

// Step k brings the server from version k to k + 1; released steps are never changed.
const std::array<std::string, ServerSchemaVersion> Steps = {
    // 0 -> 1
    std::string(
        "DO $$ BEGIN"
        "  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'floorwatch_station') THEN"
        "    CREATE ROLE floorwatch_station NOLOGIN;"
        "  END IF;"
        " END $$;"
        "GRANT USAGE ON SCHEMA floorwatch TO floorwatch_station;"
        "GRANT SELECT ON floorwatch.schema_version TO floorwatch_station;"
        "CREATE TABLE floorwatch.stations ("
        " callsign text PRIMARY KEY,"
        " locator text NOT NULL,"
        " lat double precision NOT NULL,"
        " lon double precision NOT NULL,"
        " role text NOT NULL UNIQUE,"
        " first_upload timestamptz,"
        " last_upload timestamptz);"
        "CREATE FUNCTION floorwatch.own_station() RETURNS text LANGUAGE sql STABLE"
        " AS $$ SELECT callsign FROM floorwatch.stations WHERE role = current_user $$;"
        // How far each log has arrived: the highest reading and gap id on the server.
        "CREATE TABLE floorwatch.logs ("
        " log_uuid uuid PRIMARY KEY,"
        " callsign text NOT NULL REFERENCES floorwatch.stations ON UPDATE CASCADE,"
        " readings_upto bigint NOT NULL DEFAULT 0,"
        " gaps_upto bigint NOT NULL DEFAULT 0,"
        " readings bigint NOT NULL DEFAULT 0,"
        " first_reading timestamptz,"
        " last_reading timestamptz,"
        " last_upload timestamptz);"
        // A partitioned table's unique key holds its partition key; a reading of a log has
        // one time, so (station, log, reading, time) is as unique as (station, log, reading).
        "CREATE TABLE floorwatch.readings ("
        " callsign text NOT NULL,"
        " log_uuid uuid NOT NULL,"
        " reading_id bigint NOT NULL,"
        " utc timestamptz NOT NULL,"
        " band text NOT NULL,"
        " freq_mhz double precision NOT NULL,"
        " bandwidth_hz double precision NOT NULL,"
        " method text NOT NULL,"
        " gain_dbi double precision NOT NULL,"
        " s_units double precision NOT NULL,"
        " antvolt_dbuv double precision NOT NULL,"
        " antpower_dbm double precision NOT NULL,"
        " field_dbuvm double precision NOT NULL,"
        " fa_db double precision NOT NULL,"
        " source text NOT NULL,"
        " rig text NOT NULL,"
        " locator text NOT NULL,"
        " UNIQUE (callsign, log_uuid, reading_id, utc)"
        ") PARTITION BY RANGE (utc);"
        "CREATE INDEX readings_by_time ON floorwatch.readings USING brin (utc);"
        "CREATE INDEX readings_by_band ON floorwatch.readings (band, utc);"
        "CREATE TABLE floorwatch.gaps ("
        " callsign text NOT NULL,"
        " log_uuid uuid NOT NULL,"
        " gap_id bigint NOT NULL,"
        " utc timestamptz NOT NULL,"
        " band text NOT NULL,"
        " freq_mhz double precision NOT NULL,"
        " reason text NOT NULL,"
        " rig text NOT NULL,"
        " UNIQUE (callsign, log_uuid, gap_id, utc)"
        ") PARTITION BY RANGE (utc);"
        "CREATE INDEX gaps_by_time ON floorwatch.gaps USING brin (utc);"
        // The median Fa and count of readings per station, band and UTC clock hour.
        "CREATE TABLE floorwatch.hourly ("
        " callsign text NOT NULL,"
        " band text NOT NULL,"
        " hour_utc timestamptz NOT NULL,"
        " median_fa_db double precision NOT NULL,"
        " readings integer NOT NULL,"
        " PRIMARY KEY (callsign, band, hour_utc));"
        "CREATE INDEX hourly_by_band ON floorwatch.hourly (band, hour_utc);"
        // The monthly partitions that the times [first, last] need, made by the owner of
        // the tables on behalf of the uploading station.
        "CREATE FUNCTION floorwatch.make_partitions(first timestamptz, last timestamptz)"
        " RETURNS void LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog AS $$"
        " DECLARE m timestamp; name text; t text;"
        " BEGIN"
        "  m := date_trunc('month', first AT TIME ZONE 'UTC');"
        "  WHILE m <= last AT TIME ZONE 'UTC' LOOP"
        "   FOREACH t IN ARRAY ARRAY['readings', 'gaps'] LOOP"
        "    name := t || to_char(m, '_YYYY_MM');"
        "    IF to_regclass('floorwatch.' || name) IS NULL THEN"
        "     PERFORM pg_advisory_xact_lock(4671535002);"
        "     IF to_regclass('floorwatch.' || name) IS NULL THEN"
        "      EXECUTE format('CREATE TABLE floorwatch.%I PARTITION OF floorwatch.%I"
        "       FOR VALUES FROM (%L) TO (%L)', name, t,"
        "       (m AT TIME ZONE 'UTC')::text, ((m + interval '1 month') AT TIME ZONE 'UTC')::text);"
        "     END IF;"
        "    END IF;"
        "   END LOOP;"
        "   m := m + interval '1 month';"
        "  END LOOP;"
        " END $$;"
        "REVOKE ALL ON FUNCTION floorwatch.make_partitions(timestamptz, timestamptz) FROM PUBLIC;"
        "GRANT EXECUTE ON FUNCTION floorwatch.make_partitions(timestamptz, timestamptz)"
        " TO floorwatch_station;"
        "ALTER TABLE floorwatch.stations ENABLE ROW LEVEL SECURITY;"
        "CREATE POLICY read_all ON floorwatch.stations FOR SELECT USING (true);"
        "CREATE POLICY update_own ON floorwatch.stations FOR UPDATE"
        " USING (role = current_user) WITH CHECK (role = current_user);"
        "GRANT SELECT ON floorwatch.stations TO floorwatch_station;"
        "GRANT UPDATE (first_upload, last_upload) ON floorwatch.stations TO floorwatch_station;") +
        OwnRowsOnly("logs") + OwnRowsOnly("readings") + OwnRowsOnly("gaps") +
        OwnRowsOnly("hourly"),
};

int StoredVersion(PgConnection& conn) {
    const PgResult r = conn.exec("SELECT version FROM floorwatch.schema_version");
    return r.rows() == 0 ? 0 : static_cast<int>(r.integer(0, 0));
}

void RefuseNewer(PgConnection& conn, int version) {
    if (version > ServerSchemaVersion)
        throw NetworkError("the server " + conn.serverName() + " holds the network's tables of "
                           "a newer version of Floorwatch (schema " + std::to_string(version) +
                           ", this one knows " + std::to_string(ServerSchemaVersion) +
                           " and older)");
}

}  // namespace

int InitServerSchema(PgConnection& conn) {
    PgTransaction t(conn);
    conn.exec(std::string("SELECT pg_advisory_xact_lock(") + InitLockKey + ")");
    conn.exec("CREATE SCHEMA IF NOT EXISTS floorwatch;"
              "CREATE TABLE IF NOT EXISTS floorwatch.schema_version (version integer NOT NULL)");
    const int found = StoredVersion(conn);
    RefuseNewer(conn, found);
    if (found == 0) conn.exec("INSERT INTO floorwatch.schema_version VALUES (0)");
    for (int version = found; version < ServerSchemaVersion; ++version) {
        conn.exec(Steps[static_cast<std::size_t>(version)]);
        conn.exec("UPDATE floorwatch.schema_version SET version = " +
                  std::to_string(version + 1));
    }
    t.commit();
    return ServerSchemaVersion;
}

int CheckServerSchema(PgConnection& conn) {
    const PgResult exists = conn.exec("SELECT to_regclass('floorwatch.schema_version') IS NOT NULL");
    const int version = exists.text(0, 0) == "t" ? StoredVersion(conn) : 0;
    RefuseNewer(conn, version);
    if (version < ServerSchemaVersion)
        throw NetworkError("the server " + conn.serverName() + " has no network tables of this "
                           "version yet: its administrator runs floorwatch-cli network init");
    return version;
}

}  // namespace fw
