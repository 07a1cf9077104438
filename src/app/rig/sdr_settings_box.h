#pragma once
// The SDR's part of "Rig Settings…": the devices SoapySDR finds (looked for off the window's
// thread, so that a slow or hanging driver never freezes the dialog), the device arguments,
// sample rate, gain, antenna, reference level, capture time and stream arguments.
#include <QGroupBox>
#include <functional>
#include <optional>
#include <vector>

#include "app/jobs/jobs.h"
#include "app/settings/app_settings.h"
#include "sdr/sdr_session.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace fw {

class SdrSettingsBox : public QGroupBox {
    Q_OBJECT

  public:
    using DeviceSource = std::function<std::vector<sdr::SdrDeviceInfo>()>;
    SdrSettingsBox(const SdrPreferences& current, DeviceSource devices, QWidget* parent = nullptr);

    // The fields read and checked with the command line's limits; no value and `error`
    // naming the field when one cannot be taken. `source` is not set here.
    std::optional<SdrPreferences> result(QString& error) const;

    // Looks for devices anew; the list says so meanwhile.
    void findDevices();

  private:
    void showDevices(const std::vector<sdr::SdrDeviceInfo>& found, const QString& failure);

    SdrPreferences current_;
    DeviceSource devices_;
    int search_ = 0;  // the search whose answer is awaited; older answers are dropped
    QListWidget* deviceList_;
    QPushButton* findAgain_;
    QLineEdit* args_;
    QLineEdit* rate_;
    QLineEdit* gain_;
    QLineEdit* antenna_;
    QLineEdit* ref_;
    QLineEdit* seconds_;
    QLineEdit* stream_;
    jobs::Jobs searches_;  // a search given up still ends in its own time
};

// "driver=rtlsdr,serial=00000001": the arguments that open the device found.
std::string DeviceArgs(const sdr::SdrDeviceInfo& device);

}  // namespace fw
