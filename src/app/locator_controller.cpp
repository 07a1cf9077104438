#include "app/locator_controller.h"

#include <QAction>

#include "libs/date_text.h"
#include "app/main_window.h"

namespace fw {

LocatorController::LocatorController(MainWindow& window) : QObject(&window), window_(window) {
    QAction* action = window.controls().actions.enterLocator;
    connect(action, &QAction::triggered, this, [this] { MIEnterLocatorClick(); });
    action->setEnabled(true);
}

void LocatorController::MIEnterLocatorClick() {
    Dialogs& dialogs = window_.dialogs();
    const std::optional<QString> locator = dialogs.inputText(
        QStringLiteral("QTH-Locator"),
        QStringLiteral("Please enter your QTH-Locator (i.e. JO40CQ):"), QStringLiteral("JO40CQ"));
    if (!locator) return;
    window_.state().Locator = locator->toStdString();

    const std::optional<QString> dateTime = dialogs.inputText(
        QStringLiteral("Measurement Date and Time"),
        QStringLiteral("Please enter Date and Time (Format: YYYY-MM-DD HH:MM) eingeben:"),
        QString::fromStdString(DateTimeText(CurrentLocalTime())));
    if (!dateTime) return;
    window_.state().MeasDateTime = dateTime->toStdString();
    window_.updateUserList();
    window_.updateNoise();
}

}  // namespace fw
