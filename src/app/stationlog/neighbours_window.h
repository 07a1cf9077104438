#pragma once
// "Station Log › Compare with Neighbours…": the network's server and a station, the band,
// the span (UTC), the radius and the hours, Compare and Cancel, the plot of the station's
// 24-hour profile beside its neighbours', the summary line, and Save, Copy and Print.
#include <QDialog>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace fw {

inline constexpr const char* NeighboursCaption = "Compare with Neighbours";

class NeighboursWindow : public QDialog {
    Q_OBJECT

  public:
    explicit NeighboursWindow(QWidget* parent);

    QLineEdit* server = nullptr;
    QLineEdit* station = nullptr;
    QComboBox* band = nullptr;
    QDateTimeEdit* from = nullptr;
    QDateTimeEdit* to = nullptr;
    QSpinBox* radius = nullptr;  // km
    QLineEdit* hours = nullptr;  // "18-23", empty for the whole day
    QPushButton* compare = nullptr;
    QPushButton* cancel = nullptr;
    QLabel* image = nullptr;
    QLabel* summary = nullptr;
    QPushButton* save = nullptr;
    QPushButton* copy = nullptr;
    QPushButton* print = nullptr;
};

}  // namespace fw
