#pragma once
// Uploads a station log in the background, as the monitor asks after each sweep: asking
// never waits for the server, a server that is away only leaves more for the next upload.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace fw {

struct UploadTarget {
    std::string conninfo;
    std::string callsign;  // as ParseCallsign gives it
    std::string logPath;
};

struct UploadWorkerStatus {
    std::int64_t sent = 0;     // readings and gaps that arrived through this worker
    std::int64_t pending = 0;  // what the log holds past its last known mark on the server
    std::string lastError;     // empty after an upload that went through
};

class UploadWorker {
  public:
    explicit UploadWorker(UploadTarget target);
    // Gives up an upload under way within a second; what arrived stays on the server.
    ~UploadWorker();
    UploadWorker(const UploadWorker&) = delete;
    UploadWorker& operator=(const UploadWorker&) = delete;

    // Asks for an upload of everything new; returns at once. Requests while one runs make
    // one more upload after it.
    void request();
    // Waits until no upload is asked for or under way, or until `stop` is requested.
    void finish(std::stop_token stop);
    UploadWorkerStatus status() const;

  private:
    void run(std::stop_token stop);
    void uploadOnce(std::stop_token stop);

    const UploadTarget target_;
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    bool requested_ = false;
    bool busy_ = false;
    UploadWorkerStatus status_;
    std::int64_t markReadings_ = 0, markGaps_ = 0;  // the worker thread's alone
    std::jthread thread_;  // last: started once everything it uses is there
};

// "N readings and gaps uploaded, M still to send" and the last failure, if any.
std::string UploadWorkerSummary(const UploadWorkerStatus& status);

}  // namespace fw
