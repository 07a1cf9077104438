#pragma once
// The station log: one SQLite file of readings and gaps. Each reading is written in a
// transaction of its own, in WAL mode while a writer has it open, so a crash at any moment leaves every committed
// reading whole and the file intact.
#include <span>
#include <string>

#include "stationlog/log_reading.h"
#include "stationlog/log_signature.h"
#include "stationlog/sqlite_db.h"

namespace fw {

class StationLog {
  public:
    enum class OpenMode {
        // Monitoring and logging: a new file starts an empty log, an older one is brought up
        // to date.
        CreateIfMissing,
        // Views, exports, lists and summaries: the file must be a station log, and nothing is
        // ever written to it or beside it where it cannot be.
        ReadOnly,
    };

    // Opens the log (":memory:" gives a log in memory). Throws LogError naming the file when
    // it cannot be opened, is not a station log or was written by a newer version; another
    // program's file is refused before anything in it changes.
    // `waiting` says what to do while another program holds the log locked.
    static StationLog Open(const std::string& path, OpenMode mode = OpenMode::CreateIfMissing,
                           LogWaiting waiting = {});
    // The same with CreateIfMissing, after creating the folders above `path` where they are
    // missing (LogError naming the file when that fails).
    static StationLog OpenCreatingFolder(const std::string& path);

    // A writer leaves the log in rollback-journal mode where no other connection has it open,
    // so that a reader of the idle log creates no -wal and -shm files beside it.
    ~StationLog();
    StationLog(StationLog&&) = default;
    StationLog& operator=(StationLog&&) = default;

    // Appends one reading, committed before the call returns. A reading with a value that
    // is not a finite number is refused (LogError) and nothing is written.
    void add(const LogReading& reading);
    // Appends many readings in one transaction: all of them or none.
    void addAll(std::span<const LogReading> readings);
    // Appends one reading with the noise's signature, both in one transaction.
    void add(const LogReading& reading, const LogSignature& signature);
    void addGap(const LogGap& gap);
    // The signatures of the readings from `from` on and before `to`, in time order.
    std::vector<LoggedSignature> signatures(UtcSeconds from, UtcSeconds to);

    const std::string& path() const { return db_.path(); }
    // For the query functions of the library.
    SqliteDb& database() { return db_; }

  private:
    static StationLog OpenForReading(const std::string& path, LogWaiting waiting);
    explicit StationLog(SqliteDb db, bool writer = false) : db_(std::move(db)), writer_(writer) {}

    SqliteDb db_;
    bool writer_ = false;
};

}  // namespace fw
