#include "app/settings/settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "stationlog/log_path.h"

namespace fw {

namespace {

QLineEdit* Field(const std::string& text, const QString& placeholder) {
    auto* edit = new QLineEdit(QString::fromStdString(text));
    edit->setPlaceholderText(placeholder);
    edit->setClearButtonEnabled(true);
    edit->setMinimumWidth(360);
    return edit;
}

}  // namespace

SettingsDialog::SettingsDialog(const AppSettings& current, QWidget* parent)
    : QDialog(parent), settings_(current) {
    setWindowTitle(QStringLiteral("Settings"));
    auto* addresses = new QGroupBox(QStringLiteral("Addresses"));
    auto* form = new QFormLayout(addresses);
    recipient_ =
        Field(current.reportRecipient, QStringLiteral("none: you enter it in your mail program"));
    korvan_ = Field(current.korvanUrl, QStringLiteral("https://…"));
    velmar_ = Field(current.velmarUrl, QStringLiteral("https://…"));
    form->addRow(QStringLiteral("&Report recipient (e-mail):"), recipient_);
    form->addRow(QStringLiteral("&Korvan web page:"), korvan_);
    form->addRow(QStringLiteral("&Velmar Region 1 web page:"), velmar_);

    auto* log = new QGroupBox(QStringLiteral("Station log"));
    auto* logForm = new QFormLayout(log);
    logPath_ = Field(current.log.path, QString::fromStdString(DefaultStationLogPath()));
    logEntries_ = new QCheckBox(QStringLiteral("&Log every measurement entered in the window"));
    logEntries_->setChecked(current.log.logEntries);
    logForm->addRow(QStringLiteral("Log &file:"), logPath_);
    logForm->addRow(logEntries_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(addresses);
    layout->addWidget(log);
    layout->addWidget(buttons);
}

AppSettings SettingsDialog::result() const {
    AppSettings s = settings_;
    s.reportRecipient = recipient_->text().trimmed().toStdString();
    s.korvanUrl = korvan_->text().trimmed().toStdString();
    s.velmarUrl = velmar_->text().trimmed().toStdString();
    s.log.path = logPath_->text().trimmed().toStdString();
    s.log.logEntries = logEntries_->isChecked();
    return s;
}

}  // namespace fw
