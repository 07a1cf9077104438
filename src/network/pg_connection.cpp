#include "network/pg_connection.h"

#include <libpq-fe.h>
#include <poll.h>

#include <charconv>
#include <chrono>
#include <cstring>

namespace fw {

namespace {

constexpr auto ConnectDeadline = std::chrono::seconds(14);
constexpr int PollMs = 200;

// libpq's message without its trailing line break, only its first line: the further lines
// are hints ("Is the server running...") that the first already says.
std::string FirstLine(const char* message) {
    std::string text = message ? message : "";
    if (const auto end = text.find('\n'); end != std::string::npos) text.resize(end);
    return text.empty() ? std::string("no reason given") : text;
}

}  // namespace

std::string CheckConnInfo(const std::string& conninfo) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    if (!options) {
        std::string reason = "the server's connection string is not one: " + FirstLine(error);
        PQfreemem(error);
        return reason;
    }
    bool password = false;
    for (const PQconninfoOption* o = options; o->keyword; ++o)
        if (std::strcmp(o->keyword, "password") == 0 && o->val && *o->val) password = true;
    PQconninfoFree(options);
    if (password)
        return "the server's connection string holds a password: put it into ~/.pgpass (or the "
               "file PGPASSFILE names) instead, where other users cannot read it";
    return {};
}

void PgResult::Clear::operator()(pg_result* r) const {
    PQclear(r);
}

int PgResult::rows() const {
    return PQntuples(result_.get());
}

bool PgResult::isNull(int row, int column) const {
    return PQgetisnull(result_.get(), row, column) != 0;
}

std::string PgResult::text(int row, int column) const {
    return PQgetvalue(result_.get(), row, column);
}

double PgResult::real(int row, int column) const {
    // The server writes numbers with a point whatever the locale; from_chars reads them so.
    const char* v = PQgetvalue(result_.get(), row, column);
    double value = 0;
    std::from_chars(v, v + std::strlen(v), value);
    return value;
}

std::int64_t PgResult::integer(int row, int column) const {
    const char* v = PQgetvalue(result_.get(), row, column);
    std::int64_t value = 0;
    std::from_chars(v, v + std::strlen(v), value);
    return value;
}

std::int64_t PgResult::affected() const {
    const char* v = PQcmdTuples(result_.get());
    std::int64_t value = 0;
    std::from_chars(v, v + std::strlen(v), value);
    return value;
}

PgConnection::PgConnection(const std::string& conninfo, std::stop_token stop)
    : stop_(std::move(stop)) {
    if (const std::string reason = CheckConnInfo(conninfo); !reason.empty())
        throw NetworkError(reason);
    // Settings before "dbname" are defaults that the connection string may override. The
    // keepalives notice a server that went away while a statement waits.
    const char* keywords[] = {"application_name", "keepalives_idle", "keepalives_interval",
                              "keepalives_count", "dbname", nullptr};
    const char* values[] = {"floorwatch", "10", "5", "2", conninfo.c_str(), nullptr};
    conn_ = PQconnectStartParams(keywords, values, 1);
    if (!conn_) throw NetworkError("cannot connect to the server: out of memory");
    const auto deadline = std::chrono::steady_clock::now() + ConnectDeadline;
    PostgresPollingStatusType status = PGRES_POLLING_WRITING;
    while (PQstatus(conn_) != CONNECTION_BAD && status != PGRES_POLLING_OK &&
           status != PGRES_POLLING_FAILED) {
        if (std::chrono::steady_clock::now() >= deadline) {
            const std::string name = serverName();
            PQfinish(conn_);
            conn_ = nullptr;
            throw NetworkError("the server " + name + " did not answer within " +
                               std::to_string(ConnectDeadline.count()) + " s");
        }
        if (stop_.stop_requested()) {
            PQfinish(conn_);
            conn_ = nullptr;
            throw NetworkError("connecting to the server was stopped");
        }
        pollfd p{PQsocket(conn_), static_cast<short>(status == PGRES_POLLING_READING ? POLLIN
                                                                                    : POLLOUT),
                 0};
        if (p.fd < 0 || poll(&p, 1, PollMs) > 0) status = PQconnectPoll(conn_);
    }
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string message =
            "cannot connect to the server " + serverName() + ": " + FirstLine(PQerrorMessage(conn_));
        PQfinish(conn_);
        conn_ = nullptr;
        throw NetworkError(message);
    }
    // Notices (such as "relation already exists, skipping") are not the user's business.
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    // Clock hours and months are those of UTC, whatever the server's own time zone.
    try {
        exec("SET TimeZone TO 'UTC'");
    } catch (...) {
        PQfinish(conn_);
        conn_ = nullptr;
        throw;
    }
}

PgConnection::~PgConnection() {
    if (conn_) PQfinish(conn_);
}

PgConnection::PgConnection(PgConnection&& other) noexcept
    : conn_(other.conn_), stop_(std::move(other.stop_)) {
    other.conn_ = nullptr;
}

std::string PgConnection::serverName() const {
    const char* host = PQhost(conn_);
    const char* port = PQport(conn_);
    const char* db = PQdb(conn_);
    std::string name = host && *host ? host : "localhost";
    if (port && *port) name += std::string(":") + port;
    if (db && *db) name += std::string("/") + db;
    return name + " as " + user();
}

std::string PgConnection::user() const {
    const char* u = PQuser(conn_);
    return u ? u : "";
}

void PgConnection::fail(const std::string& what, pg_result* result) {
    // The state is copied: it lives in the result, which is cleared before the throw.
    const char* stateField = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string state = stateField ? stateField : "";
    std::string message = what + " on the server " + serverName() + ": " +
                          FirstLine(result ? PQresultErrorMessage(result) : PQerrorMessage(conn_));
    if (result) PQclear(result);
    if (state == "42501") throw NetworkRefusal(message);
    throw NetworkError(message);
}

void PgConnection::wait(bool forWrite) {
    for (;;) {
        if (stop_.stop_requested()) {
            if (PGcancel* cancel = PQgetCancel(conn_)) {
                char buffer[256];
                PQcancel(cancel, buffer, sizeof buffer);
                PQfreeCancel(cancel);
            }
            throw NetworkError("the work on the server was stopped");
        }
        pollfd p{PQsocket(conn_), static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
        if (p.fd < 0) fail("the connection was lost");
        const int ready = poll(&p, 1, PollMs);
        if (ready > 0) return;
    }
}

PgResult PgConnection::finish(std::string_view what) {
    // Every result is fetched, so that the connection is ready for the next statement; the
    // first failure is the one reported.
    pg_result* failure = nullptr;
    PgResult last;
    for (;;) {
        while (PQisBusy(conn_)) {
            wait(false);
            if (!PQconsumeInput(conn_)) fail(std::string(what));
        }
        pg_result* r = PQgetResult(conn_);
        if (!r) break;
        const ExecStatusType status = PQresultStatus(r);
        if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT) return PgResult(r);
        if (status == PGRES_FATAL_ERROR || status == PGRES_BAD_RESPONSE) {
            if (!failure) failure = r;
            else PQclear(r);
        } else {
            last = PgResult(r);
        }
        if (PQstatus(conn_) == CONNECTION_BAD) break;
    }
    if (failure) fail(std::string(what), failure);
    if (PQstatus(conn_) == CONNECTION_BAD) fail("the connection was lost");
    return last;
}

PgResult PgConnection::exec(std::string_view sql,
                            const std::vector<std::optional<std::string>>& params) {
    const std::string text(sql);
    int sent = 0;
    if (params.empty()) {
        sent = PQsendQuery(conn_, text.c_str());
    } else {
        std::vector<const char*> values;
        for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
        sent = PQsendQueryParams(conn_, text.c_str(), static_cast<int>(values.size()), nullptr,
                                 values.data(), nullptr, nullptr, 0);
    }
    if (!sent) fail("a statement could not be sent");
    return finish("a statement failed");
}

std::int64_t PgConnection::copyIn(std::string_view copySql, std::string_view rows) {
    PgResult start = exec(copySql);
    if (PQresultStatus(start.handle()) != PGRES_COPY_IN) fail("COPY did not start");
    constexpr std::size_t Chunk = 1 << 16;
    for (std::size_t at = 0; at < rows.size(); at += Chunk) {
        if (stop_.stop_requested()) {
            PQputCopyEnd(conn_, "stopped");
            finish("the copy was stopped");
            throw NetworkError("the work on the server was stopped");
        }
        const std::size_t n = std::min(Chunk, rows.size() - at);
        if (PQputCopyData(conn_, rows.data() + at, static_cast<int>(n)) != 1)
            fail("the copy failed");
    }
    if (PQputCopyEnd(conn_, nullptr) != 1) fail("the copy failed");
    return finish("the copy failed").affected();
}

PgTransaction::PgTransaction(PgConnection& conn) : conn_(conn) {
    conn_.exec("BEGIN");
}

PgTransaction::~PgTransaction() {
    if (!open_) return;
    try {
        // A lost connection rolls back on the server by itself.
        if (PQstatus(conn_.handle()) == CONNECTION_OK &&
            PQtransactionStatus(conn_.handle()) != PQTRANS_IDLE)
            conn_.exec("ROLLBACK");
    } catch (const NetworkError&) {
    }
}

void PgTransaction::commit() {
    conn_.exec("COMMIT");
    open_ = false;
}

std::string PgNumber(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string QuoteIdentifier(PgConnection& conn, const std::string& name) {
    char* quoted = PQescapeIdentifier(conn.handle(), name.c_str(), name.size());
    if (!quoted) throw NetworkError("the name " + name + " cannot be used on the server");
    std::string out = quoted;
    PQfreemem(quoted);
    return out;
}

}  // namespace fw
