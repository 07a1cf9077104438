#include "print_controller.h"

#include <QAction>

#include "display_controller.h"
#include "main_window.h"
#include "print_window.h"
#include "qimage_picture.h"

namespace fw {

PrintController::PrintController(MainWindow& window) : QObject(&window), window_(window) {
    QAction* print = window.controls().actions.print;
    print->setEnabled(true);
    connect(print, &QAction::triggered, this, &PrintController::MMIPrintClick);
}

void PrintController::MMIPrintClick() {
    OpenPrintWindow(&window_, PictureToQImage(window_.display().picture()), window_.measList(),
                    window_.state().VersionText);
}

}  // namespace fw
