#include <QApplication>

#include "app/logic/app_state.h"
#include "app/window/main_window.h"
#include "app/window/qt_translations.h"
#include "libs/regional.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    fw::UseCNumericLocale();
    QApplication::setApplicationName(QString::fromUtf8(fw::ApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral(FW_APP_ID));
    fw::InstallQtTranslations(app, QLocale::system());
    fw::MainWindow window;
    window.show();
    return QApplication::exec();
}
