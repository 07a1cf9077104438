#include "app/meas_list_controller.h"

#include <QAction>
#include <QDir>
#include <QListView>
#include <QStandardPaths>
#include <QStringListModel>

#include "libs/date_text.h"
#include "app/main_window.h"
#include "measure/meas_list.h"
#include "libs/regional.h"
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
    r.proposedName =
        QString::fromStdString(YymmddText(CurrentLocalTime())) + QStringLiteral("_USER_Data.txt");
    return r;
}

MeasListController::MeasListController(MainWindow& window) : QObject(&window), window_(window) {
    const MainActions& a = window.controls().actions;
    Wire(a.loadUserData, this, &MeasListController::MILoadUserDataClick);
    Wire(a.listLoad, this, &MeasListController::MILoadUserDataClick);
    Wire(a.saveUserData, this, &MeasListController::MISaveUserDataClick);
    Wire(a.listSave, this, &MeasListController::MISaveUserDataClick);
    Wire(a.listDelete, this, &MeasListController::MIDeleteItemClick);
    Wire(a.listClear, this, &MeasListController::MIClearUserDataClick);
}

void MeasListController::updateUserList() {
    MeasList& list = window_.measList();
    SortMeasList(list);
    window_.controls().userListModel->refresh(SystemDecimalSeparator());
}

void MeasListController::MIDeleteItemClick() {
    const QModelIndex current = window_.controls().LBUserData->currentIndex();
    const bool selected =
        current.isValid() && window_.controls().LBUserData->selectionModel()->isSelected(current);
    MeasList& list = window_.measList();
    const long row = selected ? RowOfListLine(current.row(), list.size()) : -1;
    if (row >= 0) list.removeRow(static_cast<std::size_t>(row));
    window_.updateUserList();
    window_.updateNoise();
}

void MeasListController::MIClearUserDataClick() {
    window_.measList().clear();
    window_.state().UserDataFile.clear();
    window_.updateUserList();
    window_.updateNoise();
}

void MeasListController::MILoadUserDataClick() {
    const std::optional<QString> path =
        window_.dialogs().openFileName(UserDataFileRequest(QStringLiteral("Load USER Data")));
    if (!path) return;
    // Read everything first; a failed load leaves list, locator and time as they were.
    UserDataLoad load = LoadUserDataFile(path->toStdString(), SystemDecimalSeparator());
    if (load.status != UserDataStatus::Ok) {
        if (load.status == UserDataStatus::FileMissing)
            window_.dialogs().error(QString::fromStdString(MissingFileText(path->toStdString())));
        window_.dialogs().warning(QString::fromUtf8(LoadFailedMessage));
        return;
    }
    AppState& s = window_.state();
    window_.measList() = std::move(load.list);
    s.Locator = std::move(load.locator);
    s.MeasDateTime = std::move(load.dateTime);
    s.UserDataFile = path->toStdString();
    window_.updateUserList();
    window_.updateNoise();
}

void MeasListController::MISaveUserDataClick() {
    FileDialogRequest request = UserDataFileRequest(QStringLiteral("Save USER Data"));
    request.confirmOverwrite = true;
    const std::optional<QString> path = window_.dialogs().saveFileName(request);
    if (!path) return;
    const AppState& s = window_.state();
    const std::string failure = SaveUserDataFile(path->toStdString(), s.Locator, s.MeasDateTime,
                                                 window_.measList(), SystemDecimalSeparator());
    if (!failure.empty()) {
        window_.dialogs().error(QString::fromLocal8Bit(failure));
        return;
    }
    window_.state().UserDataFile = path->toStdString();
}

}  // namespace fw
