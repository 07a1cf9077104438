#pragma once
// Who keeps the station log and where: the station's callsign, operator, address, antenna and
// notes, kept in the log itself so that every report from it names the station.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stationlog/station_log.h"

namespace fw {

enum class StationField { Callsign, Operator, Address, Antenna, Notes };

inline constexpr std::array<StationField, 5> AllStationFields = {
    StationField::Callsign, StationField::Operator, StationField::Address,
    StationField::Antenna, StationField::Notes};

struct StationDetails {
    std::array<std::string, AllStationFields.size()> values;  // by StationField

    const std::string& operator[](StationField f) const {
        return values[static_cast<std::size_t>(f)];
    }
    std::string& operator[](StationField f) { return values[static_cast<std::size_t>(f)]; }
    bool empty() const;
    bool operator==(const StationDetails&) const = default;
};

// "callsign", "operator", ...: the field's key in the log and its command-line option
// without the dashes.
std::string_view StationFieldKey(StationField field);
// "Callsign", "Operator", ...: the field's label in reports and dialogs.
std::string_view StationFieldLabel(StationField field);
// The longest text a field holds, in bytes.
std::size_t StationFieldLimit(StationField field);
// Whether the field holds several lines (address and notes).
bool StationFieldMultiline(StationField field);

// Why `text` cannot be the field's value (too long, a line break in a one-line field, a
// control character, not UTF-8), or none. Leading and trailing blanks are not an error: they
// are dropped when the value is kept.
std::optional<std::string> StationFieldProblem(StationField field, std::string_view text);

// The details kept in the log; empty ones for a log that has none, also for a log of an older
// schema read as it is. Throws LogError when the log cannot be read.
StationDetails ReadStationDetails(StationLog& log);

// Keeps the given fields (an empty text clears one), all of them or none, in one transaction.
// Throws LogError for a value StationFieldProblem refuses, naming the field, and when the log
// cannot be written.
struct StationDetailsChange {
    std::array<std::optional<std::string>, AllStationFields.size()> values;  // by StationField
};
void WriteStationDetails(StationLog& log, const StationDetailsChange& change);

// "Callsign: DL1ABC", one line per line of a field's value, fields without a value left out.
std::vector<std::string> StationDetailsLines(const StationDetails& details);

}  // namespace fw
