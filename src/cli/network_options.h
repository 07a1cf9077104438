#pragma once
// The options of the `network` commands and their refusals.
#include <optional>
#include <string>

#include "cli/cli_args.h"
#include "network/pg_connection.h"
#include "network/upload_worker.h"

namespace fw::cli {

// --server CONNINFO: a usage error where missing, a Refusal where it holds a password.
std::string TakeServerOption(ArgList& args);

// --format text|csv, text by default.
std::string TakeFormatOption(ArgList& args);

// The callsign in its usual spelling; a Refusal for a text that is not one.
std::string CheckedCallsign(const std::string& text);

// --upload CONNINFO with --station CALLSIGN for the monitor: none where neither is given.
// The log's path is the caller's to fill in.
std::optional<UploadTarget> TakeUploadOptions(ArgList& args);

// The result of work on the server, or a Refusal with the server's message.
template <typename Work>
auto OnServer(Work work) {
    try {
        return work();
    } catch (const NetworkError& e) {
        throw Refusal(e.what());
    }
}

inline constexpr const char* NetworkOptionsHelp =
    "  --server CONNINFO  the network's PostgreSQL server as a libpq connection string\n"
    "                     (\"host=... dbname=... user=...\" or \"postgresql://...\"); the\n"
    "                     password comes from ~/.pgpass or PGPASSFILE, never from here;\n"
    "                     sslmode=verify-full for TLS\n"
    "  --station CALLSIGN the station uploaded for or compared\n";

}  // namespace fw::cli
