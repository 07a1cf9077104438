#include "app/rig/sdr_settings_box.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "app/window/qt_text.h"
#include "libs/real_text.h"
#include "libs/regional.h"
#include "rig/plan_limits.h"
#include "rig/reading.h"
#include "rig/rig_error.h"
#include "sdr/sdr_limits.h"

namespace fw {

namespace {

QLineEdit* Field(const QString& text, const QString& placeholder) {
    auto* edit = new QLineEdit(text);
    edit->setPlaceholderText(placeholder);
    return edit;
}

QString NumberText(double v, char sep) {
    return ToQString(rig::ExactNumberText(v, sep));
}

// The field as a number; none when empty. Throws ReadingInputError when it is no number.
std::optional<double> Number(const QLineEdit* edit, std::string_view what, char sep) {
    const std::string text = edit->text().trimmed().toStdString();
    if (text.empty()) return std::nullopt;
    const std::optional<double> v = ParseRealText(text, sep);
    if (!v) throw rig::ReadingInputError(std::string(what) + " \"" + text + "\" is no number");
    return v;
}

}  // namespace

std::string DeviceArgs(const sdr::SdrDeviceInfo& device) {
    std::string args = "driver=" + device.driver;
    if (!device.serial.empty()) args += ",serial=" + device.serial;
    return args;
}

SdrSettingsBox::SdrSettingsBox(const SdrPreferences& current, DeviceSource devices,
                               QWidget* parent)
    : QGroupBox(QStringLiteral("SDR"), parent), current_(current), devices_(std::move(devices)) {
    const char sep = SystemDecimalSeparator();
    const sdr::SdrSettings& d = current.device;
    deviceList_ = new QListWidget;
    deviceList_->setObjectName(QStringLiteral("sdrDeviceList"));
    deviceList_->setMinimumHeight(80);
    findAgain_ = new QPushButton(QStringLiteral("Look f&or Devices"));
    args_ = Field(ToQString(d.args), QStringLiteral("driver=rtlsdr or driver=airspyhf,serial=…"));
    args_->setObjectName(QStringLiteral("sdrArgs"));
    rate_ = Field(d.rateHz > 0 ? NumberText(d.rateHz, sep) : QString(),
                  QStringLiteral("the supported rate closest to 2048000"));
    gain_ = Field(d.gainDb ? NumberText(*d.gainDb, sep) : QString(),
                  QStringLiteral("the device's own; automatic gain control off"));
    antenna_ = Field(ToQString(d.antenna), QStringLiteral("the device's default"));
    ref_ = Field(current.refSet ? NumberText(d.refDbm, sep) : QString(),
                 QStringLiteral("measured with a signal generator or a known noise source"));
    seconds_ = Field(NumberText(d.seconds, sep), {});
    stream_ = Field(ToQString(d.streamArgs),
                    QStringLiteral("none; over the network e.g. remote:format=CS8"));

    auto* form = new QFormLayout;
    const auto row = [form](const QString& text, QWidget* field) {
        auto* label = new QLabel(text);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row(QStringLiteral("&Device arguments:"), args_);
    row(QStringLiteral("Sample r&ate (Hz):"), rate_);
    row(QStringLiteral("Recei&ver gain (dB):"), gain_);
    row(QStringLiteral("A&ntenna:"), antenna_);
    row(QStringLiteral("Referen&ce level (dBm at 0 dBFS):"), ref_);
    row(QStringLiteral("Capt&ure time (s):"), seconds_);
    row(QStringLiteral("Stream arguments (&key=value,…):"), stream_);
    auto* found = new QHBoxLayout;
    found->addWidget(new QLabel(QStringLiteral("Devices found:")));
    found->addStretch();
    found->addWidget(findAgain_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(found);
    layout->addWidget(deviceList_);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral(
        "The reference level is the antenna power that reads 0 dBFS at this gain; the band's "
        "calibration offset below is added to it.")));

    connect(findAgain_, &QPushButton::clicked, this, &SdrSettingsBox::findDevices);
    connect(deviceList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QString args = item->data(Qt::UserRole).toString();
        if (!args.isEmpty()) args_->setText(args);
    });
    findDevices();
}

void SdrSettingsBox::findDevices() {
    const int search = ++search_;
    findAgain_->setEnabled(false);
    deviceList_->clear();
    (new QListWidgetItem(QStringLiteral("Looking for SDRs…"), deviceList_))
        ->setFlags(Qt::NoItemFlags);
    searches_.run(
        [devices = devices_](std::stop_token) {
            std::pair<std::vector<sdr::SdrDeviceInfo>, QString> found;
            try {
                found.first = devices();
            } catch (const std::exception& e) {
                found.second = ToQString(e.what());
            }
            return found;
        },
        [this, search](const std::pair<std::vector<sdr::SdrDeviceInfo>, QString>& found) {
            if (search == search_) showDevices(found.first, found.second);
        });
}

void SdrSettingsBox::showDevices(const std::vector<sdr::SdrDeviceInfo>& found,
                                 const QString& failure) {
    findAgain_->setEnabled(true);
    deviceList_->clear();
    for (const sdr::SdrDeviceInfo& d : found) {
        auto* item = new QListWidgetItem(ToQString(sdr::DeviceLine(d)), deviceList_);
        item->setData(Qt::UserRole, ToQString(DeviceArgs(d)));
    }
    if (!found.empty()) return;
    const QString none = failure.isEmpty()
                             ? QStringLiteral("No SDR found. Connect one and look again, or type "
                                              "its device arguments.")
                             : failure;
    (new QListWidgetItem(none, deviceList_))->setFlags(Qt::NoItemFlags);
}

std::optional<SdrPreferences> SdrSettingsBox::result(QString& error) const {
    const char sep = SystemDecimalSeparator();
    SdrPreferences p = current_;
    sdr::SdrSettings& d = p.device;
    try {
        d.args = args_->text().trimmed().toStdString();
        if (d.args.empty())
            throw rig::ReadingInputError(
                "the SDR needs its device arguments: choose a device found or type them");
        const std::optional<double> rate = Number(rate_, "the sample rate", sep);
        if (rate)
            rig::CheckWithin(sdr::SdrRateHzLimits, *rate, "the sample rate", "Hz",
                             rate_->text().trimmed().toStdString(), sep);
        d.rateHz = rate.value_or(0);
        d.gainDb = Number(gain_, "the gain", sep);
        d.antenna = antenna_->text().trimmed().toStdString();
        d.streamArgs = stream_->text().trimmed().toStdString();
        const std::optional<double> ref = Number(ref_, "the reference level", sep);
        if (!ref)
            throw rig::ReadingInputError(
                "the SDR needs its reference level: the antenna power in dBm that reads 0 dBFS");
        d.refDbm = *ref;
        p.refSet = true;
        const std::optional<double> seconds = Number(seconds_, "the capture time", sep);
        d.seconds = seconds.value_or(sdr::DefaultCaptureSeconds);
        if (seconds)
            rig::CheckWithin(sdr::CaptureSecondsLimits, *seconds, "the capture time", "s",
                             seconds_->text().trimmed().toStdString(), sep);
    } catch (const rig::ReadingInputError& e) {
        error = ToQString(e.what());
        return std::nullopt;
    }
    return p;
}

}  // namespace fw
