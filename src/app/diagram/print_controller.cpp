#include "app/diagram/print_controller.h"

#include <QAction>

#include "app/print/print_window.h"
#include "output/qt/qimage_picture.h"

namespace fw {

PrintController::PrintController(const Document& document, QAction& command, QWidget& window,
                                 PictureDialogs& dialogs, QObject* parent)
    : QObject(parent), document_(document), window_(window), dialogs_(dialogs) {
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, &PrintController::MMIPrintClick);
}

void PrintController::MMIPrintClick() {
    OpenPrintWindow(&window_, PictureToQImage(document_.picture()), document_.measList(),
                    document_.state().VersionText, dialogs_);
}

}  // namespace fw
