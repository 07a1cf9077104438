#pragma once
// "Rig Settings…": how the rig is reached (a Hamlib model with its port, speed and settings,
// or a rigctld address), the readings per measurement, the settle time, the mode rule and the
// calibration offset of each band.
#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "app/settings/app_settings.h"
#include "rig/rig_models.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace fw {

class RigSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    // `models` reads Hamlib's model list; it runs off the window's thread.
    using ModelSource = std::function<std::vector<rig::RigModelInfo>()>;
    RigSettingsDialog(const RigSettings& current, QWidget* parent,
                      ModelSource models = rig::RigModels);

    // The settings with the dialog's fields applied, or no value and `error` naming the field
    // that cannot be read.
    std::optional<RigSettings> result(QString& error) const;

    void accept() override;

  private:
    void showModels(const QString& query);
    void enableConnectionFields();

    RigSettings settings_;
    std::vector<rig::RigModelInfo> models_;
    bool modelsRead_ = false;
    int chosenModel_;
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
};

}  // namespace fw
