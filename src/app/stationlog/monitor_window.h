#pragma once
// The "Monitor" window's controls: bands, interval and duration, Start and Stop, and what the
// running monitor shows (state, next sweep, gap count, the last complete sweep). A plain
// non-modal window; the monitor controller gives it life.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace fw {

class MonitorWindow : public QDialog {
    Q_OBJECT

  public:
    explicit MonitorWindow(QWidget* parent);

    QLineEdit* bands = nullptr;  // "80m,40m"; empty: all bands
    QSpinBox* everySeconds = nullptr;
    QSpinBox* forMinutes = nullptr;  // 0: until stopped
    QPushButton* start = nullptr;
    QPushButton* stop = nullptr;
    QLabel* state = nullptr;
    QLabel* nextSweep = nullptr;
    QLabel* gaps = nullptr;  // bands that could not be read
    QPlainTextEdit* lastSweep = nullptr;

    // Inputs and Start while idle, Stop while running.
    void setRunning(bool running);
};

}  // namespace fw
