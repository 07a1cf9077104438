#pragma once
// Owning wrappers for a SQLite connection, a prepared statement and a transaction. Every
// failure throws LogError with SQLite's text, so an early exit never leaks a handle and
// never leaves a transaction open.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <stop_token>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace fw {

// A failure of the station log: the file cannot be opened, read or written, or it is not a
// station log. The text is meant for the user.
class LogError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Another connection held the log's lock for longer than the busy timeout: a passing state,
// the same write may go through later.
class LogBusyError : public LogError {
  public:
    using LogError::LogError;
};

inline constexpr const char* LogWaitingText = "waiting for the log: another program holds it";

// What a connection does while another program holds the log's lock: `notice` is called once,
// half a second into the first wait, so that the user learns why nothing happens; a stop
// ends the wait at once.
struct LogWaiting {
    std::function<void()> notice;
    std::stop_token stop;
};

// The file is damaged: SQLite found a page it cannot read, or the file is no database at all.
// The text begins "the log is damaged: ".
class LogDamagedError : public LogError {
  public:
    using LogError::LogError;
};

// "the log is damaged: PATH: WHAT".
std::string LogDamagedText(const std::string& path, const std::string& what);

// Which of the files a writer needs (the log, its -wal, -shm and -journal beside it, and
// their folder) this account may not write, and whose it is: "PATH-shm belongs to alice and
// may not be written by bob"; empty when all may be written.
std::string WhyNotWritable(const std::string& path);

class SqliteDb {
  public:
    enum class Mode {
        ReadWriteCreate,
        // Never writes the file or creates one beside it where it cannot; on a read-only
        // medium or in a read-only folder the file is read as unchanging (immutable).
        ReadOnly,
    };

    // Opens (or creates) the database file; throws LogError naming the file.
    SqliteDb(const std::string& path, Mode mode, LogWaiting waiting = {});
    // An empty database in memory that messages name as `shownPath`.
    static SqliteDb InMemory(const std::string& shownPath);
    ~SqliteDb();
    SqliteDb(SqliteDb&& other) noexcept;
    SqliteDb& operator=(SqliteDb&& other) noexcept;
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    // Runs one or more statements without results.
    void exec(std::string_view sql);
    // The first column of the first row of a query that yields one integer.
    std::int64_t queryInt(std::string_view sql);
    std::string queryText(std::string_view sql);

    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }
    // SQLite's text for the last failure on this connection.
    std::string lastError() const;

    // How long a statement waits for another connection's lock before it gives up.
    void setBusyTimeout(int ms);

  private:
    SqliteDb() = default;
    void open(const std::string& name, int flags);
    void close();

    struct WaitState;

    sqlite3* db_ = nullptr;
    std::string path_;
    std::unique_ptr<WaitState> waiting_;  // on the heap: SQLite keeps its address
};

class SqliteStatement {
  public:
    SqliteStatement(SqliteDb& db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    SqliteStatement& operator=(SqliteStatement&&) = delete;

    // Parameters count from 1, as in SQLite.
    void bind(int index, double value);
    void bind(int index, std::int64_t value);
    void bind(int index, std::string_view text);
    // NULL where there is no value.
    void bind(int index, const std::optional<double>& value);
    void bindNull(int index);

    // Advances to the next row; false when there is none. Throws on a failure.
    bool step();
    // Runs a statement that yields no rows.
    void run();
    // Makes the statement ready for new parameters.
    void reset();

    // Columns count from 0.
    double real(int column) const;
    std::int64_t integer(int column) const;
    std::string text(int column) const;
    // The column's text, valid until the next step; for a pass over many rows.
    std::string_view textView(int column) const;
    bool isNull(int column) const;
    // Stored as an integer or a finite real: not text, a blob, NULL or an infinity.
    bool isFiniteNumber(int column) const;
    // Whether the columns from `first` on, one per element of `values`, are all finite
    // numbers; their values where they are. For a pass over many rows.
    bool finiteNumbers(int first, std::span<double> values) const;

  private:
    SqliteDb* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN IMMEDIATE on construction; rolled back on destruction unless committed.
class SqliteTransaction {
  public:
    explicit SqliteTransaction(SqliteDb& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit();

  private:
    SqliteDb& db_;
    bool open_ = true;
};

// A read transaction: every statement until its end sees the file as it was at its first
// read, whatever other connections commit meanwhile. Works on a read-only connection.
class SqliteSnapshot {
  public:
    explicit SqliteSnapshot(SqliteDb& db);
    ~SqliteSnapshot();
    SqliteSnapshot(const SqliteSnapshot&) = delete;
    SqliteSnapshot& operator=(const SqliteSnapshot&) = delete;

  private:
    SqliteDb& db_;
};

// While alive, a statement running on the connection ends with a LogError soon after `stop`
// is requested, so that a long read can be given up within a moment.
class SqliteStopOnRequest {
  public:
    SqliteStopOnRequest(SqliteDb& db, std::stop_token stop);
    ~SqliteStopOnRequest();
    SqliteStopOnRequest(const SqliteStopOnRequest&) = delete;
    SqliteStopOnRequest& operator=(const SqliteStopOnRequest&) = delete;

  private:
    SqliteDb& db_;
    std::stop_token stop_;
};

}  // namespace fw
