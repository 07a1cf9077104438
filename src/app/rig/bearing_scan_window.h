#pragma once
// "Bearing Scan": the rotator's address, the span and step, the band; Start and Stop; the
// polar plot as the readings come in with the estimate below it; Save, Copy and Print.
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace fw {

class BearingScanWindow : public QDialog {
    Q_OBJECT

  public:
    explicit BearingScanWindow(QWidget* parent);

    // The polar plot's side in logical pixels: the window never shows less of it.
    static constexpr int PictureSide = 500;

    QLineEdit* rotator = nullptr;  // HOST[:PORT] of rotctld
    QLabel* model = nullptr;       // what rotctld says it drives, once taken
    QSpinBox* from = nullptr;
    QSpinBox* to = nullptr;
    QSpinBox* step = nullptr;
    QComboBox* band = nullptr;
    QPushButton* start = nullptr;
    QPushButton* stop = nullptr;
    QLabel* progress = nullptr;
    QLabel* image = nullptr;
    QPushButton* save = nullptr;
    QPushButton* copy = nullptr;
    QPushButton* print = nullptr;
};

}  // namespace fw
