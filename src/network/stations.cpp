#include "network/stations.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "network/server_schema.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

bool IsAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<UtcSeconds> OptionalTime(const PgResult& r, int row, int column) {
    if (r.isNull(row, column)) return std::nullopt;
    return r.integer(row, column);
}

std::string TimeText(const std::optional<UtcSeconds>& t) {
    return t ? UtcStampText(*t) : std::string();
}

}  // namespace

std::optional<std::string> ParseCallsign(std::string_view text) {
    std::string call;
    for (char c : text) call += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (call.size() < 3 || call.size() > 8) return std::nullopt;
    if (!std::all_of(call.begin(), call.end(), IsAlnum)) return std::nullopt;
    if (IsDigit(call.back())) return std::nullopt;
    // The digit that ends the prefix: the last digit within the first four characters that
    // leaves at most four characters of suffix.
    for (std::size_t d = 1; d <= 3 && d < call.size(); ++d) {
        if (!IsDigit(call[d])) continue;
        const std::size_t suffix = call.size() - d - 1;
        if (suffix >= 1 && suffix <= 4) return call;
    }
    return std::nullopt;
}

bool IsRoleName(std::string_view text) {
    if (text.empty() || text.size() > 63 || IsDigit(text.front())) return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || IsDigit(c) || c == '_';
    });
}

void AddStation(PgConnection& conn, const NewStation& station) {
    std::string role = station.role;
    if (role.empty())
        for (char c : station.callsign)
            role += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!IsRoleName(role))
        throw NetworkError("the role " + role + " is not one: lower-case letters, digits and _");
    CheckServerSchema(conn);
    PgTransaction t(conn);
    if (conn.exec("SELECT 1 FROM floorwatch.stations WHERE callsign = $1", {station.callsign})
            .rows() > 0)
        throw NetworkError("the station " + station.callsign + " is on the server already");
    const PgResult other =
        conn.exec("SELECT callsign FROM floorwatch.stations WHERE role = $1", {role});
    if (other.rows() > 0)
        throw NetworkError("the role " + role + " uploads for " + other.text(0, 0) + " already");
    const std::string quoted = QuoteIdentifier(conn, role);
    if (conn.exec("SELECT 1 FROM pg_roles WHERE rolname = $1", {role}).rows() == 0)
        conn.exec("CREATE ROLE " + quoted + " LOGIN");
    conn.exec("GRANT floorwatch_station TO " + quoted);
    conn.exec("INSERT INTO floorwatch.stations (callsign, locator, lat, lon, role)"
              " VALUES ($1, $2, $3, $4, $5)",
              {station.callsign, station.locator.text,
               PgNumber(station.locator.centre.latDeg),
               PgNumber(station.locator.centre.lonDeg), role});
    t.commit();
}

std::vector<StationRow> ListStations(PgConnection& conn) {
    CheckServerSchema(conn);
    const PgResult r = conn.exec(
        "SELECT s.callsign, s.locator, s.lat, s.lon, s.role, coalesce(sum(l.readings), 0),"
        " extract(epoch FROM min(l.first_reading))::bigint,"
        " extract(epoch FROM max(l.last_reading))::bigint,"
        " extract(epoch FROM s.last_upload)::bigint"
        " FROM floorwatch.stations s LEFT JOIN floorwatch.logs l ON l.callsign = s.callsign"
        " GROUP BY s.callsign ORDER BY s.callsign");
    std::vector<StationRow> rows;
    for (int i = 0; i < r.rows(); ++i)
        rows.push_back({r.text(i, 0), r.text(i, 1), {r.real(i, 2), r.real(i, 3)}, r.text(i, 4),
                        r.integer(i, 5), OptionalTime(r, i, 6), OptionalTime(r, i, 7),
                        OptionalTime(r, i, 8)});
    return rows;
}

std::string StationsCsv(const std::vector<StationRow>& rows) {
    std::string out = "callsign,locator,readings,first_reading,last_reading,last_upload\n";
    for (const StationRow& s : rows)
        out += s.callsign + ',' + s.locator + ',' + std::to_string(s.readings) + ',' +
               TimeText(s.firstReading) + ',' + TimeText(s.lastReading) + ',' +
               TimeText(s.lastUpload) + '\n';
    return out;
}

std::string StationsText(const std::vector<StationRow>& rows) {
    if (rows.empty()) return "No stations on the server yet.\n";
    std::string out;
    char line[160];
    std::snprintf(line, sizeof line, "%-9s %-9s %10s  %-20s  %-20s  %s\n", "Callsign", "Locator",
                  "Readings", "First reading", "Last reading", "Last upload");
    out += line;
    const auto shown = [](const std::optional<UtcSeconds>& t) {
        return t ? UtcStampText(*t) : std::string("-");
    };
    for (const StationRow& s : rows) {
        std::snprintf(line, sizeof line, "%-9s %-9s %10lld  %-20s  %-20s  %s\n",
                      s.callsign.c_str(), s.locator.c_str(), static_cast<long long>(s.readings),
                      shown(s.firstReading).c_str(), shown(s.lastReading).c_str(),
                      shown(s.lastUpload).c_str());
        out += line;
    }
    return out;
}

}  // namespace fw
