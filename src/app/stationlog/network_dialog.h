#pragma once
// "Station Log › Network…": the network's server and this station, whether the monitor
// uploads after every sweep, and Upload Now with its progress and Cancel. The upload runs
// off the window's thread; closing the dialog stops it, without waiting for its end.
#include <QDialog>
#include <string>

#include "app/settings/app_settings.h"
#include "app/jobs/jobs.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fw {

inline constexpr const char* NetworkCaption = "Network";

class NetworkDialog : public QDialog {
    Q_OBJECT

  public:
    NetworkDialog(const NetworkPreferences& preferences, std::string logPath, QWidget* parent);
    ~NetworkDialog() override;

    NetworkPreferences preferences() const;

    // The controls, for the window tests.
    QLineEdit* server() const { return server_; }
    QLineEdit* station() const { return station_; }
    QCheckBox* afterEverySweep() const { return afterSweep_; }
    QPushButton* uploadNow() const { return uploadNow_; }
    QPushButton* cancel() const { return cancel_; }
    QProgressBar* progress() const { return progress_; }
    QLabel* result() const { return result_; }

  private:
    void startUpload();
    void showProgress(qint64 sent, qint64 total);
    void finish(const QString& text);

    std::string logPath_;
    QLineEdit* server_;
    QLineEdit* station_;
    QCheckBox* afterSweep_;
    QPushButton* uploadNow_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QLabel* result_;
    jobs::Job job_;  // the upload; closing the dialog stops it
};

}  // namespace fw
