#include "app/stationlog/network_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "network/log_upload.h"
#include "network/stations.h"

namespace fw {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

NetworkDialog::NetworkDialog(const NetworkPreferences& preferences, std::string logPath,
                             QWidget* parent)
    : QDialog(parent), logPath_(std::move(logPath)) {
    setWindowTitle(QString::fromLatin1(NetworkCaption));
    auto* form = new QFormLayout(this);
    server_ = new QLineEdit(Q(preferences.server), this);
    server_->setPlaceholderText(QStringLiteral("host=... dbname=... user=... sslmode=verify-full"));
    server_->setMinimumWidth(420);
    form->addRow(QStringLiteral("&Server"), server_);
    station_ = new QLineEdit(Q(preferences.station), this);
    form->addRow(QStringLiteral("S&tation"), station_);
    afterSweep_ = new QCheckBox(QStringLiteral("&Upload after every sweep of the monitor"), this);
    afterSweep_->setChecked(preferences.uploadAfterSweep);
    form->addRow(afterSweep_);
    form->addRow(new QLabel(QStringLiteral("The password comes from ~/.pgpass, never from here."),
                            this));
    uploadNow_ = new QPushButton(QStringLiteral("Upload &Now"), this);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setEnabled(false);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    auto* row = new QHBoxLayout;
    row->addWidget(uploadNow_);
    row->addWidget(progress_, 1);
    row->addWidget(cancel_);
    form->addRow(row);
    result_ = new QLabel(this);
    result_->setWordWrap(true);
    form->addRow(result_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Close, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(uploadNow_, &QPushButton::clicked, this, [this] { startUpload(); });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        job_.stop();
        cancel_->setEnabled(false);
        result_->setText(QStringLiteral("Stopping the upload…"));
    });
}

NetworkDialog::~NetworkDialog() = default;

NetworkPreferences NetworkDialog::preferences() const {
    return {server_->text().trimmed().toStdString(), station_->text().trimmed().toStdString(),
            afterSweep_->isChecked()};
}

void NetworkDialog::startUpload() {
    const NetworkPreferences p = preferences();
    if (const std::string reason = CheckConnInfo(p.server); p.server.empty() || !reason.empty())
        return result_->setText(p.server.empty() ? QStringLiteral("Enter the server first.")
                                                 : Q(reason));
    const std::optional<std::string> callsign = ParseCallsign(p.station);
    if (!callsign) return result_->setText(QStringLiteral("Enter this station's callsign, such as DL1ABC."));
    const std::string path = logPath_;
    const std::function<void(std::int64_t, std::int64_t)> progress =
        job_.channel(std::function<void(std::int64_t, std::int64_t)>(
            [this](std::int64_t sent, std::int64_t total) { showProgress(sent, total); }));
    const bool launched = job_.start(
        [p, path, call = *callsign, progress](std::stop_token stop) {
            std::string text;
            try {
                StationLog log = StationLog::Open(path, StationLog::OpenMode::ReadOnly);
                PgConnection conn(p.server, stop);
                UploadRequest request;
                request.callsign = call;
                request.stop = stop;
                request.progress = progress;
                text = UploadCountsText(UploadLog(conn, log, request));
                text[0] = 'U';
            } catch (const NetworkError& e) {
                text = e.what();
            } catch (const LogError& e) {
                text = e.what();
            }
            return text;
        },
        [this](const std::string& text) { finish(Q(text)); });
    if (!launched) return;
    uploadNow_->setEnabled(false);
    cancel_->setEnabled(true);
    progress_->setRange(0, 0);  // busy until the first batch says how much there is
    result_->setText(QStringLiteral("Uploading…"));
}

void NetworkDialog::showProgress(qint64 sent, qint64 total) {
    if (!job_.busy() || total <= 0) return;
    progress_->setRange(0, 1000);
    progress_->setValue(static_cast<int>(sent * 1000 / total));
}

void NetworkDialog::finish(const QString& text) {
    uploadNow_->setEnabled(true);
    cancel_->setEnabled(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    result_->setText(text);
}

}  // namespace fw
