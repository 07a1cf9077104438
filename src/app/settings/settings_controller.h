#pragma once
// "Settings…" in the File menu: edits the program's settings and stores them in the user's
// settings file.
#include <QObject>

#include "app/window/dialogs.h"
#include "app/window/document.h"

class QAction;

namespace fw {

class SettingsController : public QObject {
    Q_OBJECT

  public:
    SettingsController(Document& document, Dialogs& dialogs, QAction& command, QObject* parent);

    void MISettingsClick();

  private:
    Document& document_;
    Dialogs& dialogs_;
};

}  // namespace fw
