#pragma once
// Owning wrappers for a libpq connection and its results. Every failure throws NetworkError
// with a text for the user that names the server but never a password.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_result;

namespace fw {

class NetworkError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The server refused an action for want of rights (SQLSTATE class 42501), such as a row of
// another station under row-level security.
class NetworkRefusal : public NetworkError {
  public:
    using NetworkError::NetworkError;
};

// How long a connection attempt may take per server address, in seconds; a host with two
// addresses (IPv6 and IPv4) stays within 15 s.
inline constexpr int ConnectTimeoutSeconds = 7;

// Checks a connection string ("host=... dbname=..." or "postgresql://...") without
// connecting: empty when it can be used, otherwise the reason. A password in it is refused,
// as it would be visible in the process list and the shell's history.
std::string CheckConnInfo(const std::string& conninfo);

class PgResult {
  public:
    PgResult() = default;
    explicit PgResult(pg_result* result) : result_(result) {}
    PgResult(PgResult&&) noexcept = default;
    PgResult& operator=(PgResult&&) noexcept = default;

    int rows() const;
    bool isNull(int row, int column) const;
    std::string text(int row, int column) const;
    double real(int row, int column) const;
    std::int64_t integer(int row, int column) const;
    // The number of rows an INSERT, UPDATE or COPY changed.
    std::int64_t affected() const;
    pg_result* handle() const { return result_.get(); }

  private:
    struct Clear {
        void operator()(pg_result* r) const;
    };
    std::unique_ptr<pg_result, Clear> result_;
};

class PgConnection {
  public:
    // Connects within ConnectTimeoutSeconds per address; a stop request ends the attempt.
    // Throws NetworkError naming the server for a refused login, a server that is down or
    // a connection string that is not one.
    explicit PgConnection(const std::string& conninfo, std::stop_token stop = {});
    ~PgConnection();
    PgConnection(PgConnection&& other) noexcept;
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;
    PgConnection& operator=(PgConnection&&) = delete;

    // Runs a statement with text parameters ($1, $2, ...; none for a NULL). A stop request
    // cancels it on the server and throws NetworkError.
    PgResult exec(std::string_view sql, const std::vector<std::optional<std::string>>& params = {});
    // COPY ... FROM STDIN with the rows in COPY's text format; the number of rows copied.
    std::int64_t copyIn(std::string_view copySql, std::string_view rows);

    // "host:port/dbname as user", for messages.
    std::string serverName() const;
    std::string user() const;
    pg_conn* handle() const { return conn_; }

  private:
    PgResult finish(std::string_view what);
    void wait(bool forWrite);
    [[noreturn]] void fail(const std::string& what, pg_result* result = nullptr);

    pg_conn* conn_ = nullptr;
    std::stop_token stop_;
};

// BEGIN on construction; rolled back on destruction unless committed.
class PgTransaction {
  public:
    explicit PgTransaction(PgConnection& conn);
    ~PgTransaction();
    PgTransaction(const PgTransaction&) = delete;
    PgTransaction& operator=(const PgTransaction&) = delete;
    void commit();

  private:
    PgConnection& conn_;
    bool open_ = true;
};

// A number as the server reads it: shortest round-trip text with a point, whatever the locale.
std::string PgNumber(double value);

// A text as a SQL identifier ("dl1abc" -> "dl1abc", quoted where needed), through libpq.
std::string QuoteIdentifier(PgConnection& conn, const std::string& name);

}  // namespace fw
