#include "app/stationlog/entry_logger.h"

#include <QGroupBox>
#include <QScopedValueRollback>
#include <iostream>

#include "app/window/qt_text.h"
#include "libs/startup_values.h"
#include "monitor/monitor_text.h"
#include "rig/rig_receiver.h"
#include "stationlog/station_log.h"
#include "stationlog/station_log_tasks.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

constexpr int ShowPendingAfterMs = 300;

std::string FailureText(const std::string& error) {
    return "The measurement stays in the list, but it could not be written to the station "
           "log: " +
           error;
}

}  // namespace

EntryLogger::EntryLogger(Document& document, MessageDialogs& dialogs, QGroupBox& listGroup,
                         QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      listGroup_(listGroup),
      title_(listGroup.title()) {
    showDelay_.setSingleShot(true);
    showDelay_.setInterval(ShowPendingAfterMs);
    connect(&showDelay_, &QTimer::timeout, this, [this] { listGroup_.setTitle(pendingTitle()); });
    connect(&document_, &Document::rowEntered, this,
            [this](const MeasRow& row, RowOrigin origin,
                   const std::optional<SdrEstimate>& estimate) { logRow(row, origin, estimate); });
}


void EntryLogger::logRow(const MeasRow& row, RowOrigin origin,
                         const std::optional<SdrEstimate>& estimate) {
    const AppSettings& settings = document_.settings();
    if (!settings.log.logEntries) return;
    ++pending_;
    const std::string path = StationLogPath(settings.log);
    if (path.empty()) return written("no folder for it (neither XDG_DATA_HOME nor HOME is set)");
    // Time, band and locator are those of the moment of entry, whenever the commit runs.
    const bool fromRig = origin == RowOrigin::Rig;
    const std::string& locator = document_.state().Locator;
    const ReadingSource source = fromRig                       ? ReadingSource::Rig
                                 : origin == RowOrigin::Sdr ? ReadingSource::Sdr
                                                            : ReadingSource::Typed;
    // An SDR's measurement names the device by the arguments it was opened with.
    LogReading reading =
        ReadingFromRow(row, UtcNow(), BandOfRow(row), source,
                       origin == RowOrigin::Sdr ? settings.sdr.device.args : std::string(),
                       locator == NoLocatorText ? std::string() : locator);
    // The offsets and the reference level that the rig and SDR readings take from the same
    // settings.
    if (source != ReadingSource::Typed)
        reading.calOffsetDb = rig::OffsetFor(settings.rig.offsets,
                                             rig::OffsetBandFor(reading.band, reading.freqMHz));
    if (source == ReadingSource::Sdr) reading.refLevelDbm = settings.sdr.device.refDbm;
    reading.estimate = estimate;
    std::optional<rig::RigConnection> rig;
    if (fromRig) rig = settings.rig.connection;
    commits_.run(
        [path, reading = std::move(reading), rig = std::move(rig)](std::stop_token) mutable {
            std::string error;
            try {
                // The rig's name may wait for Hamlib's model list, which a rig job holds.
                if (rig) reading.rig = RigNameFor(*rig);
                StationLog log = StationLog::OpenCreatingFolder(path);
                log.add(reading);
            } catch (const LogError& e) {
                error = e.what();
            }
            return error;
        },
        [this](const std::string& error) { written(error); },
        // The window is gone: standard error is left to say so.
        [](const std::string& error) {
            if (!error.empty()) std::cerr << "floorwatch: " << FailureText(error) << '\n';
        });
    showPending();
}

void EntryLogger::written(const std::string& error) {
    --pending_;
    if (error.empty()) {
        failureShown_ = false;
    } else if (!failureShown_) {
        failureShown_ = true;
        // The message's own event loop may deliver the next commits meanwhile; the last of
        // them is announced after it closes.
        const QScopedValueRollback open(reporting_, true);
        dialogs_.show({MessageKind::Error, FailureText(error)});
    }
    showPending();
    if (pending_ == 0 && !reporting_) emit idleAgain();
}

void EntryLogger::showPending() {
    if (pending_ == 0) {
        showDelay_.stop();
        listGroup_.setTitle(title_);
        return;
    }
    if (listGroup_.title() != title_) return listGroup_.setTitle(pendingTitle());
    if (!showDelay_.isActive()) showDelay_.start();
}

QString EntryLogger::pendingTitle() const {
    return title_ + QStringLiteral(" — writing ") + ToQString(CountText(pending_, "measurement")) +
           QStringLiteral(" to the station log…");
}

}  // namespace fw
