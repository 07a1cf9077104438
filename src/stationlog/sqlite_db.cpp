#include "stationlog/sqlite_db.h"

#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <utility>

namespace fw {

namespace {

// How long a statement waits for another connection's lock before it gives up, and after
// how long of it the user is told.
constexpr std::chrono::milliseconds BusyTimeout{5000};
constexpr std::chrono::milliseconds WaitNoticeAfter{500};
constexpr int WaitStepMs = 20;

std::string AccountName(uid_t id) {
    const passwd* p = getpwuid(id);
    return p ? p->pw_name : "user " + std::to_string(id);
}

}  // namespace

std::string WhyNotWritable(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    const std::string me = AccountName(geteuid());
    for (const std::string& file : {path, path + "-wal", path + "-shm", path + "-journal"}) {
        struct stat st{};
        if (stat(file.c_str(), &st) != 0 || access(file.c_str(), W_OK) == 0) continue;
        return file + " belongs to " + AccountName(st.st_uid) + " and may not be written by " +
               me;
    }
    struct stat st{};
    if (stat(folder.c_str(), &st) == 0 && access(folder.c_str(), W_OK) != 0)
        return "the folder " + folder.string() + " belongs to " + AccountName(st.st_uid) +
               " and may not be written by " + me + " (the log needs files beside it)";
    return {};
}

namespace {

// LogBusyError for a lock another connection held too long, LogDamagedError for a damaged
// file, LogError for any other failure; a write refused names the file that refused it.
[[noreturn]] void Throw(int code, const std::string& path, const std::string& reason) {
    const int primary = code & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
        throw LogDamagedError(LogDamagedText(path, reason));
    std::string text = "station log " + path + ": " + reason;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) throw LogBusyError(text);
    if (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN)
        if (const std::string why = WhyNotWritable(path); !why.empty()) text += ": " + why;
    throw LogError(text);
}

// Whether the file's header says WAL mode while no -wal file lies beside it: no connection
// has the log open, and a reader would have to create the -wal and -shm files.
bool IdleInWalMode(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char header[20] = {};
    if (!file.read(header, sizeof header)) return false;
    std::error_code ec;
    return header[18] == 2 && header[19] == 2 && !std::filesystem::exists(path + "-wal", ec);
}

[[noreturn]] void Fail(const SqliteDb& db) {
    Throw(sqlite3_extended_errcode(db.handle()), db.path(), db.lastError());
}

// A path as an SQLite file URI: every byte outside the unreserved set and "/" percent-encoded.
std::string FileUri(const std::string& path) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                (c >= '0' && c <= '9') || std::string_view("/-._~").find(c) !=
                                                              std::string_view::npos;
        if (unreserved) {
            uri += static_cast<char>(c);
            continue;
        }
        uri += '%';
        uri += Hex[c >> 4];
        uri += Hex[c & 15];
    }
    return uri;
}

// Whether this process may create files beside `path` (a WAL reader's shared-memory file).
bool FolderWritable(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    return access(folder.c_str(), W_OK) == 0;
}

}  // namespace

struct SqliteDb::WaitState {
    LogWaiting waiting;
    std::chrono::steady_clock::time_point since;
    bool noticed = false;

    // SQLite's busy handler: non-zero waits and tries again.
    static int OnBusy(void* state, int count) {
        auto& w = *static_cast<WaitState*>(state);
        const auto now = std::chrono::steady_clock::now();
        if (count == 0) w.since = now;
        if (w.waiting.stop.stop_requested() || now - w.since >= BusyTimeout) return 0;
        if (!w.noticed && now - w.since >= WaitNoticeAfter) {
            w.noticed = true;
            if (w.waiting.notice) w.waiting.notice();
        }
        sqlite3_sleep(WaitStepMs);
        return 1;
    }
};

SqliteDb::SqliteDb(const std::string& path, Mode mode, LogWaiting waiting)
    : path_(path), waiting_(std::make_unique<WaitState>(WaitState{std::move(waiting), {}, false})) {
    if (mode == Mode::ReadWriteCreate) {
        open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        return;
    }
    // A log last closed in WAL mode (by an older version, which left it so) is read as an
    // unchanging file, so that no -wal and -shm files are left beside it: a writer switches a
    // log back to rollback-journal mode when it closes, and only a writer opens it in WAL mode.
    if (IdleInWalMode(path)) {
        open(FileUri(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        return;
    }
    open(path, SQLITE_OPEN_READONLY);
    // A log in WAL mode needs its shared-memory file even to be read. Where that cannot be
    // created (a read-only medium or folder) no other program can be writing the log either,
    // so it is read as an unchanging file.
    const int rc =
        sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    const int primary = rc & 0xff;
    if ((primary != SQLITE_READONLY && primary != SQLITE_CANTOPEN) || FolderWritable(path)) return;
    close();
    open(FileUri(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
}

std::string LogDamagedText(const std::string& path, const std::string& what) {
    return "the log is damaged: " + path + ": " + what;
}

SqliteDb SqliteDb::InMemory(const std::string& shownPath) {
    SqliteDb db;
    db.path_ = shownPath;
    db.waiting_ = std::make_unique<WaitState>(WaitState{{}, {}, false});
    db.open(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    return db;
}

void SqliteDb::setBusyTimeout(int ms) {
    sqlite3_busy_timeout(db_, ms);
}

void SqliteDb::open(const std::string& name, int flags) {
    // One connection per thread: the window reads while its monitor thread writes.
    const int rc = sqlite3_open_v2(name.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        close();
        std::string text = "station log " + path_ + ": cannot open: " + reason;
        if ((flags & SQLITE_OPEN_READWRITE) != 0)
            if (const std::string why = WhyNotWritable(path_); !why.empty()) text += ": " + why;
        throw LogError(text);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_handler(db_, &WaitState::OnBusy, waiting_.get());
}

SqliteDb::~SqliteDb() {
    close();
}

void SqliteDb::close() {
    // Every statement is finalised by its owner first, so the close cannot be refused.
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

SqliteDb::SqliteDb(SqliteDb&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      path_(std::move(other.path_)),
      waiting_(std::move(other.waiting_)) {}

SqliteDb& SqliteDb::operator=(SqliteDb&& other) noexcept {
    if (this == &other) return *this;
    close();
    db_ = std::exchange(other.db_, nullptr);
    path_ = std::move(other.path_);
    waiting_ = std::move(other.waiting_);
    return *this;
}

std::string SqliteDb::lastError() const {
    return db_ ? sqlite3_errmsg(db_) : "not open";
}

void SqliteDb::exec(std::string_view sql) {
    char* message = nullptr;
    const std::string text(sql);
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    if (rc == SQLITE_OK) return;
    const std::string reason = message ? message : lastError();
    sqlite3_free(message);
    Throw(rc, path_, reason);
}

std::int64_t SqliteDb::queryInt(std::string_view sql) {
    SqliteStatement s(*this, sql);
    if (!s.step()) throw LogError("station log " + path_ + ": no result");
    return s.integer(0);
}

std::string SqliteDb::queryText(std::string_view sql) {
    SqliteStatement s(*this, sql);
    if (!s.step()) throw LogError("station log " + path_ + ": no result");
    return s.text(0);
}

SqliteStatement::SqliteStatement(SqliteDb& db, std::string_view sql) : db_(&db) {
    if (sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                           nullptr) != SQLITE_OK)
        Fail(db);
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

void SqliteStatement::bind(int index, double value) {
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) Fail(*db_);
}

void SqliteStatement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) Fail(*db_);
}

void SqliteStatement::bind(int index, const std::optional<double>& value) {
    if (value) return bind(index, *value);
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) Fail(*db_);
}

void SqliteStatement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        Fail(*db_);
}

void SqliteStatement::bindNull(int index) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) Fail(*db_);
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const std::string reason = db_->lastError();
    sqlite3_reset(stmt_);
    Throw(rc, db_->path(), reason);
}

void SqliteStatement::run() {
    while (step()) {
    }
    reset();
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string SqliteStatement::text(int column) const {
    const auto* p = sqlite3_column_text(stmt_, column);
    if (!p) return {};
    return std::string(reinterpret_cast<const char*>(p),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string_view SqliteStatement::textView(int column) const {
    const auto* p = sqlite3_column_text(stmt_, column);
    if (!p) return {};
    return {reinterpret_cast<const char*>(p),
            static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

bool SqliteStatement::finiteNumbers(int first, std::span<double> values) const {
    for (std::size_t i = 0; i < values.size(); ++i) {
        sqlite3_value* v = sqlite3_column_value(stmt_, first + static_cast<int>(i));
        const int type = sqlite3_value_type(v);
        if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) return false;
        values[i] = sqlite3_value_double(v);
        if (!std::isfinite(values[i])) return false;
    }
    return true;
}

bool SqliteStatement::isFiniteNumber(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_INTEGER: return true;
        case SQLITE_FLOAT: return std::isfinite(sqlite3_column_double(stmt_, column));
        default: return false;
    }
}

SqliteTransaction::SqliteTransaction(SqliteDb& db) : db_(db) {
    db_.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (!open_) return;
    // A failed rollback leaves nothing to do: SQLite rolls back on close anyway.
    sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit() {
    db_.exec("COMMIT");
    open_ = false;
}

SqliteSnapshot::SqliteSnapshot(SqliteDb& db) : db_(db) {
    db_.exec("BEGIN");
}

SqliteSnapshot::~SqliteSnapshot() {
    // Ending a transaction that wrote nothing cannot lose anything.
    sqlite3_exec(db_.handle(), "COMMIT", nullptr, nullptr, nullptr);
}

SqliteStopOnRequest::SqliteStopOnRequest(SqliteDb& db, std::stop_token stop)
    : db_(db), stop_(std::move(stop)) {
    // SQLite asks every hundred virtual machine steps; a non-zero answer interrupts.
    sqlite3_progress_handler(
        db_.handle(), 100,
        [](void* token) { return static_cast<std::stop_token*>(token)->stop_requested() ? 1 : 0; },
        &stop_);
}

SqliteStopOnRequest::~SqliteStopOnRequest() {
    sqlite3_progress_handler(db_.handle(), 0, nullptr, nullptr);
}

}  // namespace fw
