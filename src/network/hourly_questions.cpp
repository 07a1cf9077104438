#include "network/hourly_questions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>

#include "libs/number_text.h"
#include "libs/median.h"
#include "network/server_schema.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

constexpr double EarthRadiusKm = 6371;

struct StationPlace {
    std::string callsign;
    std::string locator;
    GeoPoint centre;
};

std::vector<StationPlace> StationPlaces(PgConnection& conn) {
    const PgResult r =
        conn.exec("SELECT callsign, locator, lat, lon FROM floorwatch.stations ORDER BY callsign");
    std::vector<StationPlace> out;
    for (int i = 0; i < r.rows(); ++i)
        out.push_back({r.text(i, 0), r.text(i, 1), {r.real(i, 2), r.real(i, 3)}});
    return out;
}

// The SQL condition that the hourly value's UTC hour of the day lies in `hours`.
std::string HoursCondition(const HourRange& hours) {
    const std::string h = "extract(hour FROM hour_utc)";
    const std::string first = std::to_string(hours.first), last = std::to_string(hours.last);
    if (hours.wholeDay()) return "true";
    if (hours.first <= hours.last) return h + " BETWEEN " + first + " AND " + last;
    return "(" + h + " >= " + first + " OR " + h + " <= " + last + ")";
}

std::vector<std::optional<std::string>> SpanParams(const HourlyQuestion& q) {
    return {q.band, std::to_string(q.from), std::to_string(q.to)};
}

// A number with two decimals and a point; empty for NaN.
std::string Fixed(double v, int decimals = 2) {
    return std::isnan(v) ? std::string() : FixedText(v, decimals);
}

std::string HourSpanText(int first, int last) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d\u2013%02d UTC", first, last);
    return text;
}

}  // namespace

double GreatCircleKm(const GeoPoint& a, const GeoPoint& b) {
    const double rad = std::numbers::pi / 180;
    const double dLat = (b.latDeg - a.latDeg) * rad, dLon = (b.lonDeg - a.lonDeg) * rad;
    const double h = std::pow(std::sin(dLat / 2), 2) +
                     std::cos(a.latDeg * rad) * std::cos(b.latDeg * rad) *
                         std::pow(std::sin(dLon / 2), 2);
    return 2 * EarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

NeighbourComparison CompareWithNeighbours(PgConnection& conn, const std::string& callsign,
                                          const HourlyQuestion& question, double radiusKm) {
    CheckServerSchema(conn);
    const std::vector<StationPlace> places = StationPlaces(conn);
    const auto self = std::find_if(places.begin(), places.end(),
                                   [&](const StationPlace& p) { return p.callsign == callsign; });
    if (self == places.end())
        throw NetworkError("the server " + conn.serverName() + " has no station " + callsign);
    std::string members = "{" + callsign;
    for (const StationPlace& p : places)
        if (p.callsign != callsign && GreatCircleKm(p.centre, self->centre) <= radiusKm)
            members += "," + p.callsign;
    members += "}";

    auto params = SpanParams(question);
    params.push_back(members);
    const PgResult r = conn.exec(
        "SELECT callsign, extract(hour FROM hour_utc)::int,"
        " percentile_cont(0.5) WITHIN GROUP (ORDER BY median_fa_db)"
        " FROM floorwatch.hourly WHERE band = $1 AND hour_utc >= to_timestamp($2)"
        " AND hour_utc < to_timestamp($3) AND callsign = ANY ($4::text[])"
        " GROUP BY 1, 2",
        params);
    std::array<double, 24> own;
    own.fill(std::nan(""));
    std::array<std::vector<double>, 24> others;
    for (int i = 0; i < r.rows(); ++i) {
        const int hour = static_cast<int>(r.integer(i, 1));
        if (r.text(i, 0) == callsign) own[hour] = r.real(i, 2);
        else others[hour].push_back(r.real(i, 2));
    }
    NeighbourComparison out{callsign, radiusKm, {}};
    for (int k = 0; k < 24; ++k) {
        const int hour = (question.hours.first + k) % 24;
        if (!question.hours.contains(hour)) break;
        out.hours.push_back({hour, own[hour], Median(others[hour]),
                             static_cast<int>(others[hour].size())});
    }
    return out;
}

std::string NeighbourComparisonCsv(const NeighbourComparison& c) {
    std::string out = "hour,own_fa_db,others_fa_db,difference_db,stations\n";
    for (const HourComparison& h : c.hours)
        out += std::to_string(h.hour) + ',' + Fixed(h.ownDb) + ',' + Fixed(h.othersDb) + ',' +
               Fixed(h.difference()) + ',' + std::to_string(h.stations) + '\n';
    return out;
}

std::string StandOutLines(const NeighbourComparison& c) {
    const std::string within = " within " + Fixed(c.radiusKm, 0) + " km";
    std::string out;
    const auto side = [](double d) { return d >= StandOutDb ? 1 : d <= -StandOutDb ? -1 : 0; };
    for (std::size_t i = 0; i < c.hours.size();) {
        const int s = side(c.hours[i].difference());
        if (s == 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        std::vector<double> differences;
        int fewest = c.hours[i].stations;
        for (; end < c.hours.size() && side(c.hours[end].difference()) == s; ++end) {
            differences.push_back(c.hours[end].difference());
            fewest = std::min(fewest, c.hours[end].stations);
        }
        out += HourSpanText(c.hours[i].hour, c.hours[end - 1].hour) + ": " +
               Fixed(std::abs(Median(differences)), 1) + (s > 0 ? " dB above " : " dB below ") +
               std::to_string(fewest) + (fewest == 1 ? " neighbour" : " neighbours") + within +
               "\n";
        i = end;
    }
    if (!out.empty()) return out;
    const bool anyNeighbour = std::any_of(c.hours.begin(), c.hours.end(),
                                          [](const HourComparison& h) { return h.stations > 0; });
    if (!anyNeighbour) return "No neighbour" + within + " has values for these hours.\n";
    return "No hour stands out by " + Fixed(StandOutDb, 0) + " dB or more from the neighbours" +
           within + ".\n";
}

std::string NeighbourComparisonText(const NeighbourComparison& c) {
    std::string out = "hour UTC  " + c.callsign + " Fa dB  neighbours Fa dB  difference dB  stations\n";
    char line[128];
    const auto shown = [](double v) { return std::isnan(v) ? std::string("-") : Fixed(v, 1); };
    for (const HourComparison& h : c.hours) {
        std::snprintf(line, sizeof line, "%02d        %*s  %16s  %13s  %8d\n", h.hour,
                      static_cast<int>(c.callsign.size()) + 6, shown(h.ownDb).c_str(),
                      shown(h.othersDb).c_str(), shown(h.difference()).c_str(), h.stations);
        out += line;
    }
    return out + StandOutLines(c);
}

std::vector<SquareValue> NoiseBySquare(PgConnection& conn, const HourlyQuestion& question) {
    CheckServerSchema(conn);
    std::map<std::string, StationPlace> places;
    for (StationPlace& p : StationPlaces(conn)) places.emplace(p.callsign, std::move(p));
    const PgResult r = conn.exec(
        "SELECT callsign, percentile_cont(0.5) WITHIN GROUP (ORDER BY median_fa_db)"
        " FROM floorwatch.hourly WHERE band = $1 AND hour_utc >= to_timestamp($2)"
        " AND hour_utc < to_timestamp($3) AND " + HoursCondition(question.hours) +
            " GROUP BY callsign",
        SpanParams(question));
    std::map<std::string, std::pair<std::vector<GeoPoint>, std::vector<double>>> bySquare;
    for (int i = 0; i < r.rows(); ++i) {
        const auto place = places.find(r.text(i, 0));
        if (place == places.end()) continue;
        auto& [points, values] = bySquare[place->second.locator.substr(0, 4)];
        points.push_back(place->second.centre);
        values.push_back(r.real(i, 1));
    }
    std::vector<SquareValue> out;
    for (auto& [square, found] : bySquare) {
        const Outcome<LocatorSquare> parsed = ParseMaidenhead(square);
        if (!parsed.ok()) continue;
        out.push_back({square, parsed.value().centre, found.first, Median(found.second)});
    }
    return out;
}

std::string SquaresCsv(const std::vector<SquareValue>& squares) {
    std::string out = "square,lat,lon,stations,median_fa_db\n";
    for (const SquareValue& s : squares)
        out += s.square + ',' + Fixed(s.centre.latDeg, 1) + ',' + Fixed(s.centre.lonDeg, 1) + ',' +
               std::to_string(s.stations.size()) + ',' + Fixed(s.medianDb) + '\n';
    return out;
}

}  // namespace fw
