#include "stationlog/log_file_facts.h"

#include <filesystem>

#include "libs/sha256.h"

namespace fw {

namespace {

constexpr int MostFindings = 3;

}  // namespace

LogFileFacts QueryLogFileFacts(StationLog& log) {
    LogFileFacts facts;
    facts.name = std::filesystem::path(log.path()).filename().string();
    facts.sha256 = Sha256FileHex(log.path()).value_or("");
    std::error_code ec;
    const auto wal = std::filesystem::file_size(log.path() + "-wal", ec);
    if (!ec) facts.pendingBytes = wal;
    SqliteStatement check(log.database(), "PRAGMA integrity_check(" +
                                              std::to_string(MostFindings) + ")");
    while (check.step()) facts.integrity += (facts.integrity.empty() ? "" : "; ") + check.text(0);
    return facts;
}

}  // namespace fw
