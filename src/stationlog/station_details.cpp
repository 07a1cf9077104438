#include "stationlog/station_details.h"

#include <sstream>

#include "stationlog/log_schema.h"

namespace fw {

namespace {

constexpr std::array<std::string_view, AllStationFields.size()> Keys = {
    "callsign", "operator", "address", "antenna", "notes"};
constexpr std::array<std::string_view, AllStationFields.size()> Labels = {
    "Callsign", "Operator", "Address", "Antenna", "Notes"};
constexpr std::array<std::size_t, AllStationFields.size()> Limits = {20, 200, 500, 500, 2000};

std::size_t Index(StationField f) {
    return static_cast<std::size_t>(f);
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > text.size()) return false;
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        constexpr std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < Least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

bool HasStationTable(StationLog& log) {
    SqliteStatement s(log.database(),
                      "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'station'");
    return s.step() && s.integer(0) > 0;
}

}  // namespace

bool StationDetails::empty() const {
    for (const std::string& v : values)
        if (!v.empty()) return false;
    return true;
}

std::string_view StationFieldKey(StationField field) {
    return Keys[Index(field)];
}

std::string_view StationFieldLabel(StationField field) {
    return Labels[Index(field)];
}

std::size_t StationFieldLimit(StationField field) {
    return Limits[Index(field)];
}

bool StationFieldMultiline(StationField field) {
    return field == StationField::Address || field == StationField::Notes;
}

std::optional<std::string> StationFieldProblem(StationField field, std::string_view text) {
    const std::string label(StationFieldLabel(field));
    text = Trimmed(text);
    if (text.size() > StationFieldLimit(field))
        return label + " is longer than " + std::to_string(StationFieldLimit(field)) +
               " characters";
    if (!IsUtf8(text)) return label + " is not UTF-8 text";
    for (const char c : text) {
        if (c == '\n' && StationFieldMultiline(field)) continue;
        if (c == '\n') return label + " must be one line";
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r')
            return label + " holds a control character";
    }
    return std::nullopt;
}

StationDetails ReadStationDetails(StationLog& log) {
    StationDetails details;
    const SqliteSnapshot snapshot(log.database());
    if (!HasStationTable(log)) return details;
    SqliteStatement s(log.database(), "SELECT field, value FROM station");
    while (s.step()) {
        const std::string key = s.text(0);
        for (const StationField f : AllStationFields)
            if (StationFieldKey(f) == key) details[f] = s.text(1);
    }
    return details;
}

void WriteStationDetails(StationLog& log, const StationDetailsChange& change) {
    for (const StationField f : AllStationFields) {
        const auto& value = change.values[Index(f)];
        if (!value) continue;
        if (const auto problem = StationFieldProblem(f, *value))
            throw LogError("station log " + log.path() + ": " + *problem);
    }
    SqliteTransaction t(log.database());
    SqliteStatement put(log.database(),
                        "INSERT INTO station (field, value) VALUES (?, ?)"
                        " ON CONFLICT (field) DO UPDATE SET value = excluded.value");
    SqliteStatement clear(log.database(), "DELETE FROM station WHERE field = ?");
    for (const StationField f : AllStationFields) {
        const auto& value = change.values[Index(f)];
        if (!value) continue;
        const std::string_view kept = Trimmed(*value);
        if (kept.empty()) {
            clear.bind(1, StationFieldKey(f));
            clear.run();
            continue;
        }
        put.bind(1, StationFieldKey(f));
        put.bind(2, kept);
        put.run();
    }
    t.commit();
}

std::vector<std::string> StationDetailsLines(const StationDetails& details) {
    std::vector<std::string> lines;
    for (const StationField f : AllStationFields) {
        if (details[f].empty()) continue;
        const std::string label = std::string(StationFieldLabel(f)) + ": ";
        std::istringstream text(details[f]);
        bool first = true;
        for (std::string line; std::getline(text, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back((first ? label : std::string(label.size(), ' ')) + line);
            first = false;
        }
    }
    return lines;
}

}  // namespace fw
