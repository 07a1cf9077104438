#pragma once
// "Print" on the menu bar: the print window with the current diagram and measurement list.
#include <QObject>

#include "app/window/picture_saving.h"
#include "app/window/document.h"

class QAction;
class QWidget;

namespace fw {

class PrintController : public QObject {
    Q_OBJECT

  public:
    // The print window opens over `window` and shows its messages through `dialogs`.
    PrintController(const Document& document, QAction& command, QWidget& window, PictureDialogs& dialogs,
                    QObject* parent);

    // Opens the print window modally; it only reads the picture, the list and the version.
    void MMIPrintClick();

  private:
    const Document& document_;
    QWidget& window_;
    PictureDialogs& dialogs_;
};

}  // namespace fw
