#pragma once
// The measurement list box's model: the two header lines and one line per row, formatted
// when the view asks for them. A rebuild is then a model reset, however long the list is.
#include <QAbstractListModel>
#include <QStringList>

#include "measure/meas_list.h"

namespace fw {

class UserListModel : public QAbstractListModel {
    Q_OBJECT

  public:
    UserListModel(const MeasList& list, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Bracket every change of the list: the view forgets its rows before the change and
    // asks again after it, with numbers written with `decimalSeparator`.
    void beginReset() { beginResetModel(); }
    void endReset(char decimalSeparator);
    // Every line, as the list box shows it.
    QStringList stringList() const;

  private:
    QString line(int row) const;

    const MeasList& list_;
    char separator_ = '.';
};

}  // namespace fw
