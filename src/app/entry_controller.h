#pragma once
// The inputs of the "Add Measurement" group and the "Entry Method" radio group.
#include <QObject>
#include <QString>

namespace fw {

class MainWindow;
struct MainControls;

// "2,15" under a comma separator, "2.15" under a point.
QString GainResetText();

class EntryController : public QObject {
    Q_OBJECT

  public:
    explicit EntryController(MainWindow& window);

    // Entry method changed: edit states, emptied fields and colours of rows 3 to 7.
    void RadioGroup1Click();
    // Free-frequency box changed: frequency field or band selector becomes the input.
    void CBFreqModeClick();

  private:
    MainControls& controls();

    MainWindow& window_;
};

}  // namespace fw
