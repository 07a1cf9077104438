#pragma once
// A window that shows one of the station log's views: the span (UTC), the bands (several
// for the level over time, one for the 24-hour profile), the picture, and Save, Copy and Print.
#include <QDialog>
#include <QSize>
#include <QString>

class QBoxLayout;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QListWidget;
class QPushButton;

namespace fw {

// The Print button's text while no print is under way.
inline const QString PrintCaption = QStringLiteral("&Print…");

// The chart's size, in logical pixels, that the window opens with room for.
inline constexpr QSize OpeningChartSize{800, 500};

// The chart's label, added to `layout` with all the room it has: drawn at the size the window
// gives it, and the window sized with room for the chart at its opening size.
QLabel* AddChartLabel(QDialog& window, QBoxLayout& layout);

class LogViewWindow : public QDialog {
    Q_OBJECT

  public:
    // `severalBands`: a list of bands to tick; otherwise a box that picks one.
    LogViewWindow(const QString& title, bool severalBands, QWidget* parent);

    QDateTimeEdit* from = nullptr;
    QDateTimeEdit* to = nullptr;
    QListWidget* bandList = nullptr;  // with several bands
    QComboBox* bandBox = nullptr;     // with one band
    QLabel* image = nullptr;
    QPushButton* save = nullptr;
    QPushButton* copy = nullptr;
    QPushButton* print = nullptr;

  signals:
    void resized();

  protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace fw
