#pragma once
// "Settings…" in the File menu: edits the program's settings and stores them in the user's
// settings file.
#include <QObject>

#include "app/settings/settings_dialogs.h"
#include "app/window/document.h"

class QAction;

namespace fw {

class SettingsController : public QObject {
    Q_OBJECT

  public:
    SettingsController(Document& document, SettingsDialogs& dialogs, QAction& command, QObject* parent);

    void MISettingsClick();

  private:
    Document& document_;
    SettingsDialogs& dialogs_;
};

}  // namespace fw
