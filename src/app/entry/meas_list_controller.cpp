#include "app/entry/meas_list_controller.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QStandardPaths>
#include <QStringListModel>

#include "libs/date_text.h"
#include "libs/regional.h"
#include "measure/meas_list.h"
#include "measure/user_data_file.h"

namespace fw {

namespace {

QString DesktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QDir(desktop).exists()) return desktop;
    return QDir::homePath();
}

void Wire(QAction* action, MeasListController* controller, void (MeasListController::*slot)()) {
    QObject::connect(action, &QAction::triggered, controller, slot);
    action->setEnabled(true);
}

}  // namespace

FileDialogRequest UserDataFileRequest(const QString& title) {
    FileDialogRequest r;
    r.title = title;
    r.filters = {QStringLiteral("Alle Dateien (*.*)"), QStringLiteral("TextDateien (*.txt)")};
    r.selectedFilter = 1;
    r.defaultSuffix = QStringLiteral("txt");
    r.initialDir = DesktopFolder();
    return r;
}

MeasListController::MeasListController(Document& document, EntryDialogs& dialogs, QListView& listBox,
                                       const MainActions& a, QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs), listBox_(listBox) {
    Wire(a.loadUserData, this, &MeasListController::MILoadUserDataClick);
    Wire(a.listLoad, this, &MeasListController::MILoadUserDataClick);
    Wire(a.saveUserData, this, &MeasListController::MISaveUserDataClick);
    Wire(a.listSave, this, &MeasListController::MISaveUserDataClick);
    Wire(a.listDelete, this, &MeasListController::MIDeleteItemClick);
    Wire(a.listClear, this, &MeasListController::MIClearUserDataClick);
}

void MeasListController::MIDeleteItemClick() {
    const QModelIndex current = listBox_.currentIndex();
    const bool selected = current.isValid() && listBox_.selectionModel()->isSelected(current);
    document_.removeListLine(selected ? current.row() : -1);
}

void MeasListController::MIClearUserDataClick() {
    document_.clearList();
}

void MeasListController::MILoadUserDataClick() {
    const std::optional<QString> path =
        dialogs_.openFileName(UserDataFileRequest(QStringLiteral("Load USER Data")));
    if (!path) return;
    // Read everything first; a failed load leaves list, locator and time as they were.
    const std::string file = QFile::encodeName(*path).toStdString();
    UserDataLoad load = LoadUserDataFile(file, SystemDecimalSeparator());
    if (load.status != UserDataStatus::Ok) {
        for (const Message& message : LoadFailureMessages(load, file))
            dialogs_.show(message);
        return;
    }
    document_.replaceFromFile(std::move(load.list), std::move(load.locator),
                              std::move(load.dateTime), file);
}

void MeasListController::MISaveUserDataClick() {
    FileDialogRequest request = UserDataFileRequest(QStringLiteral("Save USER Data"));
    // Only a save proposes a name; a load shows the folder as it is.
    request.proposedName =
        QString::fromStdString(YymmddText(CurrentLocalTime())) + QStringLiteral("_USER_Data.txt");
    request.confirmOverwrite = true;
    const std::optional<QString> path = dialogs_.saveFileName(request);
    if (!path) return;
    const AppState& s = document_.state();
    const std::string file = QFile::encodeName(*path).toStdString();
    if (const auto failure = SaveUserDataFile(file, s.Locator, s.MeasDateTime, document_.measList(),
                                              SystemDecimalSeparator())) {
        dialogs_.show(*failure);
        return;
    }
    document_.setDataFile(file);
}

}  // namespace fw
