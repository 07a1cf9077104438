#pragma once
// "Enter Locator and Date/Time": two input dialogs set the station locator and the
// measurement time shown on the diagram and written to the data file.
#include <QObject>

namespace fw {

class MainWindow;

class LocatorController : public QObject {
    Q_OBJECT

  public:
    explicit LocatorController(MainWindow& window);

    // Cancelling the first dialog changes nothing; cancelling the second keeps the new
    // locator but changes neither the time nor the picture.
    void MIEnterLocatorClick();

  private:
    MainWindow& window_;
};

}  // namespace fw
