#pragma once
// Hands a PDF to a CUPS print queue and says why when that fails. The toolkit's own print
// path drops the server's answer, so a refused or lost job would look printed.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

// Job options as CUPS names them, e.g. {"copies", "2"}, {"sides", "one-sided"}.
using PrintOptions = std::vector<std::pair<std::string, std::string>>;

// Seconds a print server may stay silent before the job counts as failed.
inline constexpr int PrintServerTimeoutSeconds = 30;

// The print queues of the user's CUPS server, as "queue" or "queue/instance", and the default
// one (empty: none). The server is given up on after `timeoutSeconds` of silence; one that
// cannot be reached has no queues.
struct CupsPrinters {
    std::vector<std::string> names;
    std::string defaultName;
};
CupsPrinters ListCupsPrinters(int timeoutSeconds = PrintServerTimeoutSeconds);

// Sends `pdf` as one job titled `title` to `printer` ("queue" or "queue/instance", whose saved
// options apply beneath `options`) on the user's CUPS server. Returns an empty text when the
// server took the whole job, else the reason, e.g. "there is no such printer" or "the print
// server did not answer within 30 s".
std::string PrintPdfOnCups(std::string_view printer, std::string_view title, std::string_view pdf,
                           const PrintOptions& options,
                           int timeoutSeconds = PrintServerTimeoutSeconds);

}  // namespace fw
