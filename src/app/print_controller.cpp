#include "app/print_controller.h"

#include <QAction>

#include "app/display_controller.h"
#include "app/main_window.h"
#include "app/print/print_window.h"
#include "output/qimage_picture.h"

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
