#include "app/entry/locator_controller.h"

#include <QAction>

#include "libs/date_text.h"

namespace fw {

LocatorController::LocatorController(Document& document, EntryDialogs& dialogs, QAction& command,
                                     QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs) {
    connect(&command, &QAction::triggered, this, [this] { MIEnterLocatorClick(); });
    command.setEnabled(true);
}

void LocatorController::MIEnterLocatorClick() {
    EntryDialogs& dialogs = dialogs_;
    const std::optional<QString> locator = dialogs.inputText(
        QStringLiteral("QTH-Locator"),
        QStringLiteral("Please enter your QTH-Locator (i.e. JO40CQ):"), QStringLiteral("JO40CQ"));
    if (!locator) return;

    const std::optional<QString> dateTime = dialogs.inputText(
        QStringLiteral("Measurement Date and Time"),
        QStringLiteral("Please enter Date and Time (Format: YYYY-MM-DD HH:MM) eingeben:"),
        QString::fromStdString(DateTimeText(CurrentLocalTime())));
    document_.setLocatorAndTime(locator->toStdString(),
                                dateTime ? std::optional(dateTime->toStdString()) : std::nullopt);
}

}  // namespace fw
