#include "output/cups_print.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <cerrno>
#include <memory>

namespace fw {

namespace {

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
using HttpConnection = std::unique_ptr<http_t, HttpClose>;

struct DestFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using Destination = std::unique_ptr<cups_dest_t, DestFree>;

// An owned CUPS option array.
class CupsOptions {
  public:
    CupsOptions() = default;
    CupsOptions(const CupsOptions&) = delete;
    CupsOptions& operator=(const CupsOptions&) = delete;
    ~CupsOptions() { cupsFreeOptions(count_, options_); }

    void set(const char* name, const char* value) {
        count_ = cupsAddOption(name, value, count_, &options_);
    }
    int count() const { return count_; }
    cups_option_t* options() const { return options_; }

  private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

// A silent server is given up on instead of waited for.
int GiveUp(http_t*, void*) {
    return 0;
}

bool IsIppSuccess(ipp_status_t status) {
    return status < IPP_STATUS_REDIRECTION_OTHER_SITE;
}

std::string LastCupsError() {
    const char* text = cupsLastErrorString();
    if (text == nullptr || *text == '\0') return "the print server gave no reason";
    return text;
}

// A connection to the user's CUPS server (CUPS_SERVER, client.conf or the local one); none
// when it cannot be reached.
HttpConnection ConnectToServer(int timeoutSeconds) {
    HttpConnection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                     1, timeoutSeconds * 1000, nullptr));
    if (http) httpSetTimeout(http.get(), timeoutSeconds, GiveUp, nullptr);
    return http;
}

struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDelete>;

// Asks the server about the queue on the connection, whose timeout holds, before the library's
// own look-up, which falls back to other connections with longer waits. Empty when the queue
// exists, else why not.
std::string CheckQueue(http_t* http, const std::string& queue, int timeoutSeconds) {
    char uri[HTTP_MAX_URI];
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
                         ippPort(), "/printers/%s", queue.c_str()) != HTTP_URI_STATUS_OK)
        return "the printer's name cannot be used";
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-name");
    // cupsDoRequest takes the request over.
    const IppMessage response(cupsDoRequest(http, request, "/"));
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) return "there is no such printer";
    if (!response && httpError(http) == ETIMEDOUT)
        return "the print server did not answer within " + std::to_string(timeoutSeconds) + " s";
    if (!response || !IsIppSuccess(cupsLastError())) return LastCupsError();
    return {};
}

// Cancels a job whose document did not arrive, so that it does not wait in the queue for
// ever; gives the reason the document failed.
std::string CancelJob(http_t* http, const char* queue, int job) {
    std::string reason = LastCupsError();
    cupsCancelJob2(http, queue, job, 0);
    return reason;
}

}  // namespace

CupsPrinters ListCupsPrinters(int timeoutSeconds) {
    CupsPrinters printers;
    const HttpConnection http = ConnectToServer(timeoutSeconds);
    if (!http) return printers;
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http.get(), &dests);
    for (int i = 0; i < count; ++i) {
        std::string name = dests[i].name;
        if (dests[i].instance) name += std::string("/") + dests[i].instance;
        if (dests[i].is_default) printers.defaultName = name;
        printers.names.push_back(std::move(name));
    }
    cupsFreeDests(count, dests);
    return printers;
}

std::string PrintPdfOnCups(std::string_view printer, std::string_view title, std::string_view pdf,
                           const PrintOptions& options, int timeoutSeconds) {
    if (printer.empty()) return "no printer is chosen";
    if (pdf.empty()) return "there is nothing to print";

    const HttpConnection http = ConnectToServer(timeoutSeconds);
    if (!http) return "the print server \"" + std::string(cupsServer()) + "\" cannot be reached";

    const std::size_t slash = printer.find('/');
    const std::string queue(printer.substr(0, slash));
    const std::string instance(slash == std::string_view::npos ? "" : printer.substr(slash + 1));
    if (std::string reason = CheckQueue(http.get(), queue, timeoutSeconds); !reason.empty())
        return reason;
    const Destination dest(
        cupsGetNamedDest(http.get(), queue.c_str(), instance.empty() ? nullptr : instance.c_str()));
    if (!dest) {
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) return "there is no such printer";
        return LastCupsError();
    }

    // The queue's saved options first, so that the job's own ones win.
    CupsOptions jobOptions;
    for (int i = 0; i < dest->num_options; ++i)
        jobOptions.set(dest->options[i].name, dest->options[i].value);
    for (const auto& [name, value] : options) jobOptions.set(name.c_str(), value.c_str());

    const std::string jobTitle(title);
    const int job = cupsCreateJob(http.get(), dest->name, jobTitle.c_str(), jobOptions.count(),
                                  jobOptions.options());
    if (job == 0) return LastCupsError();

    if (cupsStartDocument(http.get(), dest->name, job, jobTitle.c_str(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE)
        return CancelJob(http.get(), dest->name, job);
    // The server's answer to the document comes with finishing it, also after a failed write.
    const bool written =
        cupsWriteRequestData(http.get(), pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
    const ipp_status_t finished = cupsFinishDocument(http.get(), dest->name);
    if (written && IsIppSuccess(finished)) return {};
    return CancelJob(http.get(), dest->name, job);
}

}  // namespace fw
