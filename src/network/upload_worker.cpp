#include "network/upload_worker.h"

#include "network/log_upload.h"
#include "network/pg_connection.h"
#include "stationlog/station_log.h"

namespace fw {

UploadWorker::UploadWorker(UploadTarget target)
    : target_(std::move(target)), thread_([this](std::stop_token stop) { run(stop); }) {}

UploadWorker::~UploadWorker() {
    thread_.request_stop();
    changed_.notify_all();
}

void UploadWorker::request() {
    {
        std::lock_guard lock(mutex_);
        requested_ = true;
    }
    changed_.notify_all();
}

void UploadWorker::finish(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, stop, [this] { return !requested_ && !busy_; });
}

UploadWorkerStatus UploadWorker::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void UploadWorker::run(std::stop_token stop) {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (!changed_.wait(lock, stop, [this] { return requested_; })) return;
            requested_ = false;
            busy_ = true;
        }
        uploadOnce(stop);
        {
            std::lock_guard lock(mutex_);
            busy_ = false;
        }
        changed_.notify_all();
    }
}

void UploadWorker::uploadOnce(std::stop_token stop) {
    std::string error;
    UploadCounts counts;
    std::int64_t pending = -1;
    try {
        StationLog log = StationLog::Open(target_.logPath, StationLog::OpenMode::ReadOnly);
        try {
            PgConnection conn(target_.conninfo, stop);
            UploadRequest request;
            request.callsign = target_.callsign;
            request.stop = stop;
            counts = UploadLog(conn, log, request);
        } catch (const NetworkError& e) {
            error = e.what();
        }
        // The mark is the worker thread's own; the count runs without holding the lock, so
        // that a request from the monitor never waits for it.
        if (error.empty()) markReadings_ = counts.mark.readings, markGaps_ = counts.mark.gaps;
        pending = RowsAfter(log, {markReadings_, markGaps_});
    } catch (const LogError& e) {
        error = e.what();
    }
    std::lock_guard lock(mutex_);
    status_.sent += counts.readings + counts.gaps;
    if (pending >= 0) status_.pending = pending;
    status_.lastError = error;
}

std::string UploadWorkerSummary(const UploadWorkerStatus& status) {
    std::string text = std::to_string(status.sent) + " readings and gaps uploaded, " +
                       std::to_string(status.pending) + " still to send";
    if (!status.lastError.empty()) text += " (last upload: " + status.lastError + ")";
    return text;
}

}  // namespace fw
