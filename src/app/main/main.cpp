#include <QApplication>

#include "app/logic/app_state.h"
#include "app/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(fw::ApplicationTitle));
    fw::MainWindow window;
    window.show();
    return QApplication::exec();
}
