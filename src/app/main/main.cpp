#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/logic/app_state.h"
#include "app/window/main_window.h"
#include "app/window/qt_translations.h"
#include "jobs/registry.h"
#include "libs/regional.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    fw::UseCNumericLocale();
    QApplication::setApplicationName(QString::fromUtf8(fw::ApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral(FW_APP_ID));
    fw::InstallQtTranslations(app, QLocale::system());
    int status = 0;
    {
        fw::MainWindow window;
        window.show();
        status = QApplication::exec();
    }  // the window's controllers stopped their jobs as they went
    // Work still running gets a bounded time to honour its stop while the application object
    // lives; a call caught in a device driver past it ends with the process.
    if (fw::jobs::Registry::Process().stopAndDrain(fw::jobs::ExitDrainLimit)) return status;
    // No destructor of a library runs under a thread still inside it.
    std::fflush(nullptr);
    std::_Exit(status);
}
