#pragma once
// "Rig Settings…": the source of the readings, "Hamlib rig" or "SDR (SoapySDR)"; how the rig
// is reached (a Hamlib model with its port, speed and settings, or a rigctld address), the
// readings per measurement, the settle time and the mode rule; the SDR's settings; and the
// calibration offset of each band, which applies to both.
#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "app/jobs/jobs.h"
#include "app/settings/app_settings.h"
#include "app/rig/sdr_settings_box.h"
#include "rig/rig_models.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

namespace fw {

// Where the dialog finds Hamlib's models and SoapySDR's devices; both are asked off the
// window's thread.
struct RigSettingsSources {
    std::function<std::vector<rig::RigModelInfo>()> models = rig::RigModels;
    SdrSettingsBox::DeviceSource devices = sdr::FindAllSdrDevices;
};

class RigSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    RigSettingsDialog(const ReceiverSettings& current, QWidget* parent,
                      RigSettingsSources sources = {});

    // The settings with the dialog's fields applied, or no value and `error` naming the field
    // that cannot be read. The SDR's fields are checked when it is the source; otherwise
    // they are kept as far as they can be read.
    std::optional<ReceiverSettings> result(QString& error) const;

    void accept() override;

  private:
    void showModels(const QString& query);
    void enableConnectionFields();

    std::optional<RigSettings> rigResult(QString& error) const;

    ReceiverSettings settings_;
    std::vector<rig::RigModelInfo> models_;
    bool modelsRead_ = false;
    int chosenModel_;
    QRadioButton* useRig_;
    QRadioButton* useSdr_;
    QStackedWidget* pages_;  // the rig's settings or the SDR's
    SdrSettingsBox* sdr_;
    QRadioButton* useRigctld_;
    QRadioButton* useModel_;
    QLineEdit* address_;
    QLineEdit* search_;
    QListWidget* modelList_;
    QLineEdit* port_;
    QSpinBox* speed_;
    QLineEdit* conf_;
    QSpinBox* timeout_;
    QSpinBox* samples_;
    QSpinBox* settle_;
    QDoubleSpinBox* split_;
    QLineEdit* belowSplit_;
    QLineEdit* fromSplit_;
    QTableWidget* bands_;  // band, frequency, own mode, calibration offset
    QLabel* error_;
    jobs::Jobs job_;  // reads the model list
};

}  // namespace fw
