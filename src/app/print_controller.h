#pragma once
// "Print" on the menu bar: the print window with the current diagram and measurement list.
#include <QObject>

namespace fw {

class MainWindow;

class PrintController : public QObject {
    Q_OBJECT

  public:
    explicit PrintController(MainWindow& window);

    // Opens the print window modally; it only reads the picture, the list and the version.
    void MMIPrintClick();

  private:
    MainWindow& window_;
};

}  // namespace fw
