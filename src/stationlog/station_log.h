#pragma once
// The station log: one SQLite file of readings and gaps. Each reading is written in a
// transaction of its own, in WAL mode, so a crash at any moment leaves every committed
// reading whole and the file intact.
#include <span>
#include <string>

#include "stationlog/log_reading.h"
#include "stationlog/sqlite_db.h"

namespace fw {

class StationLog {
  public:
    enum class OpenMode {
        CreateIfMissing,  // monitoring and logging: a new file starts an empty log
        MustExist,        // exports and views: a missing file is refused
    };

    // Opens the log and brings its schema up to date (":memory:" gives a log in memory). Throws
    // LogError naming the file when it cannot be opened, is not a station log or was written by a
    // newer version.
    static StationLog Open(const std::string& path, OpenMode mode = OpenMode::CreateIfMissing);
    // The same with CreateIfMissing, after creating the folders above `path` where they are
    // missing (LogError naming the file when that fails).
    static StationLog OpenCreatingFolder(const std::string& path);

    // Appends one reading, committed before the call returns. A reading with a value that
    // is not a finite number is refused (LogError) and nothing is written.
    void add(const LogReading& reading);
    // Appends many readings in one transaction: all of them or none.
    void addAll(std::span<const LogReading> readings);
    void addGap(const LogGap& gap);

    const std::string& path() const { return db_.path(); }
    // For the query functions of the library.
    SqliteDb& database() { return db_; }

  private:
    explicit StationLog(SqliteDb db) : db_(std::move(db)) {}

    SqliteDb db_;
};

}  // namespace fw
