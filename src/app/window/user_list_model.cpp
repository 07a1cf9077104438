#include "app/window/user_list_model.h"

#include <string>

namespace fw {

UserListModel::UserListModel(const MeasList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list) {}

int UserListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.size() + 2);
}

QString UserListModel::line(int row) const {
    if (row == 0) return QString::fromLatin1(UserListHeader1);
    if (row == 1) return QString::fromLatin1(UserListHeader2);
    std::string text;
    AppendUserListLine(text, list_, static_cast<std::size_t>(row - 2), separator_);
    return QString::fromStdString(text);
}

QVariant UserListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    return line(index.row());
}

void UserListModel::endReset(char decimalSeparator) {
    separator_ = decimalSeparator;
    endResetModel();
}

QStringList UserListModel::stringList() const {
    QStringList lines;
    for (int row = 0; row < rowCount(); ++row) lines << line(row);
    return lines;
}

}  // namespace fw
