#pragma once
// The questions that need many stations, answered from the server's hourly values: a
// station's 24-hour profile against its neighbours', and the noise per locator square.
#include <string>
#include <vector>

#include "measure/maidenhead.h"
#include "network/pg_connection.h"
#include "stationlog/log_reading.h"
#include "stats/hour_range.h"

namespace fw {

inline constexpr double DefaultNeighbourRadiusKm = 200;
// A difference from the neighbours that the summary line names.
inline constexpr double StandOutDb = 3;

// The distance between two points on a sphere of 6371 km, in km.
double GreatCircleKm(const GeoPoint& a, const GeoPoint& b);

struct HourlyQuestion {
    std::string band;
    UtcSeconds from = 0, to = 0;  // the hours [from, to)
    HourRange hours;
};

struct HourComparison {
    int hour = 0;             // UTC hour of the day
    double ownDb = 0;         // NaN where the station has no value
    double othersDb = 0;      // NaN where no neighbour has one
    int stations = 0;         // neighbours with a value
    double difference() const { return ownDb - othersDb; }
};

struct NeighbourComparison {
    std::string callsign;
    double radiusKm = DefaultNeighbourRadiusKm;
    std::vector<HourComparison> hours;  // the hours of the question, in order
};

// For each hour of the day: the station's value (the median of its hourly values at that
// hour within the span), the neighbours' value (the median over the other stations within
// the radius of each one's own value). Refuses (NetworkError) a station not on the server.
NeighbourComparison CompareWithNeighbours(PgConnection& conn, const std::string& callsign,
                                          const HourlyQuestion& question, double radiusKm);

// "hour,own_fa_db,others_fa_db,difference_db,stations", empty fields where there is no
// value.
std::string NeighbourComparisonCsv(const NeighbourComparison& c);
// An aligned table and one line per run of hours where the station stands out.
std::string NeighbourComparisonText(const NeighbourComparison& c);
// Only the lines that say where the station stands out, or that it does not.
std::string StandOutLines(const NeighbourComparison& c);

struct SquareValue {
    std::string square;  // 4-character locator square
    GeoPoint centre;
    std::vector<GeoPoint> stations;  // their locators' centres
    double medianDb = 0;  // the median over its stations of each one's median hourly value
};

// Per locator square with values, in the order of the squares.
std::vector<SquareValue> NoiseBySquare(PgConnection& conn, const HourlyQuestion& question);

// "square,lat,lon,stations,median_fa_db".
std::string SquaresCsv(const std::vector<SquareValue>& squares);

}  // namespace fw
