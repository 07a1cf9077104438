#include "app/settings/settings_controller.h"

#include <QAction>

#include "app/settings/settings_store.h"

namespace fw {

SettingsController::SettingsController(Document& document, SettingsDialogs& dialogs, QAction& command,
                                       QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs) {
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, [this] { MISettingsClick(); });
}

void SettingsController::MISettingsClick() {
    std::optional<AppSettings> edited = dialogs_.editSettings(document_.settings());
    if (!edited) return;
    document_.setSettings(*edited);
    if (const std::optional<Message> failed = SaveUserSettingsOrSayWhy(*edited))
        dialogs_.show(*failed);
}

}  // namespace fw
