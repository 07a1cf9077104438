#pragma once
// The measurement list box and the commands on the list: delete an item, clear, load and
// save the USER data file.
#include <QObject>
#include <QString>

#include "app/entry/entry_dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"

class QListView;

namespace fw {

// The open and save dialogs' settings for a USER data file: both filters with text files
// selected, suffix "txt" and the desktop folder. The save dialog adds the proposed name
// YYMMDD_USER_Data.txt.
FileDialogRequest UserDataFileRequest(const QString& title);

class MeasListController : public QObject {
    Q_OBJECT

  public:
    // `listBox` shows the document's list; `actions` holds the list commands' items.
    MeasListController(Document& document, EntryDialogs& dialogs, QListView& listBox,
                       const MainActions& actions, QObject* parent);

    void MIDeleteItemClick();
    void MIClearUserDataClick();
    void MILoadUserDataClick();
    void MISaveUserDataClick();

  private:
    Document& document_;
    EntryDialogs& dialogs_;
    QListView& listBox_;
};

}  // namespace fw
