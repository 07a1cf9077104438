#pragma once
// The measurement list box and the commands on the list: delete an item, clear, load and
// save the USER data file.
#include <QObject>
#include <QString>

#include "app/dialogs.h"

namespace fw {

class MainWindow;

// The open and save dialogs' settings for a USER data file: both filters with text files
// selected, suffix "txt", the desktop folder and a proposed name YYMMDD_USER_Data.txt.
FileDialogRequest UserDataFileRequest(const QString& title);

class MeasListController : public QObject {
    Q_OBJECT

  public:
    explicit MeasListController(MainWindow& window);

    // Sorts the list by frequency and shows its header and row lines in the list box.
    void updateUserList();

    void MIDeleteItemClick();
    void MIClearUserDataClick();
    void MILoadUserDataClick();
    void MISaveUserDataClick();

  private:
    MainWindow& window_;
};

}  // namespace fw
