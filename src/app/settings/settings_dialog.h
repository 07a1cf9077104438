#pragma once
// "Settings…": the report's recipient, the two associations' web pages and the station log.
#include <QDialog>

#include "app/settings/app_settings.h"

class QCheckBox;
class QLineEdit;

namespace fw {

class SettingsDialog : public QDialog {
    Q_OBJECT

  public:
    SettingsDialog(const AppSettings& current, QWidget* parent);
    // The settings with the dialog's fields applied.
    AppSettings result() const;

  private:
    AppSettings settings_;
    QLineEdit* recipient_;
    QLineEdit* korvan_;
    QLineEdit* velmar_;
    QLineEdit* logPath_;
    QCheckBox* logEntries_;
};

}  // namespace fw
