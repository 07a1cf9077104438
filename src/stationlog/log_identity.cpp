#include "stationlog/log_identity.h"

#include <array>
#include <cstdio>
#include <random>

#include "libs/sha256.h"

namespace fw {

namespace {

// 32 hexadecimal digits as a UUID of `version` (4 random, 8 made from data) and RFC 9562's
// variant.
std::string UuidText(std::string hex, char version) {
    hex[12] = version;
    static constexpr char Variant[] = "89ab";
    const int nibble = hex[16] >= 'a' ? hex[16] - 'a' + 10 : hex[16] - '0';
    hex[16] = Variant[nibble & 3];
    return hex.substr(0, 8) + '-' + hex.substr(8, 4) + '-' + hex.substr(12, 4) + '-' +
           hex.substr(16, 4) + '-' + hex.substr(20, 12);
}

std::string RandomUuid() {
    std::random_device device;
    std::string hex;
    for (int i = 0; i < 4; ++i) {
        char word[9];
        std::snprintf(word, sizeof word, "%08x", static_cast<unsigned>(device()));
        hex += word;
    }
    return UuidText(hex, '4');
}

// Every column of the first row, quoted by SQLite, so that the text is the same on every
// reading of the file.
std::optional<std::string> FirstRowText(SqliteDb& db, const char* table, const char* columns) {
    SqliteStatement s(db, std::string("SELECT ") + columns + " FROM " + table +
                              " ORDER BY id LIMIT 1");
    if (!s.step()) return std::nullopt;
    return std::string(table) + ':' + s.text(0);
}

std::optional<std::string> DerivedIdentity(SqliteDb& db) {
    auto row = FirstRowText(
        db, "readings",
        "quote(id)||','||quote(utc)||','||quote(band)||','||quote(freq_mhz)||','||"
        "quote(bandwidth_hz)||','||quote(method)||','||quote(gain_dbi)||','||quote(s_units)||','||"
        "quote(antvolt_dbuv)||','||quote(antpower_dbm)||','||quote(field_dbuvm)||','||"
        "quote(source)||','||quote(rig)||','||quote(locator)");
    if (!row)
        row = FirstRowText(db, "gaps",
                           "quote(id)||','||quote(utc)||','||quote(band)||','||quote(freq_mhz)||"
                           "','||quote(reason)||','||quote(rig)");
    if (!row) return std::nullopt;
    return UuidText(Sha256Hex(*row).substr(0, 32), '8');
}

bool KeepsIdentity(SqliteDb& db) {
    return db.queryInt("SELECT count(*) FROM sqlite_master WHERE name = 'log_identity'") > 0;
}

std::optional<std::string> StoredIdentity(SqliteDb& db) {
    if (!KeepsIdentity(db)) return std::nullopt;
    SqliteStatement s(db, "SELECT uuid FROM log_identity LIMIT 1");
    if (!s.step()) return std::nullopt;
    return s.text(0);
}

}  // namespace

std::optional<std::string> LogIdentity(StationLog& log) {
    if (auto stored = StoredIdentity(log.database())) return stored;
    return DerivedIdentity(log.database());
}

void EnsureLogIdentity(SqliteDb& db) {
    // Looked at first without the write lock: nearly every log has its identity already.
    if (StoredIdentity(db)) return;
    SqliteTransaction t(db);
    if (StoredIdentity(db)) return;
    const std::string uuid = DerivedIdentity(db).value_or(RandomUuid());
    SqliteStatement insert(db, "INSERT INTO log_identity (uuid) VALUES (?)");
    insert.bind(1, std::string_view(uuid));
    insert.run();
    t.commit();
}

}  // namespace fw
