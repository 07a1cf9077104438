#pragma once
// "Spectrum": the last SDR measurement's spectrum, a choice of its bands after a sweep, and
// Save, Copy and Print as in the station log's views.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace fw {

class SpectrumWindow : public QDialog {
    Q_OBJECT

  public:
    explicit SpectrumWindow(QWidget* parent);

    QComboBox* reading = nullptr;  // which reading of the measurement
    QLabel* image = nullptr;
    QPushButton* save = nullptr;
    QPushButton* copy = nullptr;
    QPushButton* print = nullptr;
};

}  // namespace fw
