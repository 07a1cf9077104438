#pragma once
// The stations of the network: the administrator adds them with their login roles, everyone
// lists them.
#include <optional>
#include <string>
#include <vector>

#include "measure/maidenhead.h"
#include "network/pg_connection.h"
#include "stationlog/log_reading.h"

namespace fw {

// "dl1abc", "DL1ABC" -> "DL1ABC": a prefix of one to three letters or digits, a digit, and
// a suffix of up to four letters or digits ending in a letter. None for any other text.
std::optional<std::string> ParseCallsign(std::string_view text);

// A role name of lower-case letters, digits and underscores, not beginning with a digit.
bool IsRoleName(std::string_view text);

struct NewStation {
    std::string callsign;  // as ParseCallsign gives it
    LocatorSquare locator;
    std::string role;  // empty: the callsign in lower case
};

// Creates the station and its login role (where the role exists, it joins the stations'
// group), in one transaction. Refuses (NetworkError) a station that exists, a role of
// another station, and a schema that is not up to date.
void AddStation(PgConnection& conn, const NewStation& station);

struct StationRow {
    std::string callsign;
    std::string locator;
    GeoPoint centre;
    std::string role;
    std::int64_t readings = 0;
    std::optional<UtcSeconds> firstReading, lastReading, lastUpload;
};

std::vector<StationRow> ListStations(PgConnection& conn);

// "callsign,locator,readings,first_reading,last_reading,last_upload" and one line per
// station; the times as the log's CSV export writes them, empty where there are none.
std::string StationsCsv(const std::vector<StationRow>& rows);
// The same as an aligned table.
std::string StationsText(const std::vector<StationRow>& rows);

}  // namespace fw
