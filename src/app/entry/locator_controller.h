#pragma once
// "Enter Locator and Date/Time": two input dialogs set the station locator and the
// measurement time shown on the diagram and written to the data file.
#include <QObject>

#include "app/entry/entry_dialogs.h"
#include "app/window/document.h"

class QAction;

namespace fw {

class LocatorController : public QObject {
    Q_OBJECT

  public:
    LocatorController(Document& document, EntryDialogs& dialogs, QAction& command, QObject* parent);

    // Cancelling the first dialog changes nothing; cancelling the second keeps the new
    // locator but changes neither the time nor the picture.
    void MIEnterLocatorClick();

  private:
    Document& document_;
    EntryDialogs& dialogs_;
};

}  // namespace fw
