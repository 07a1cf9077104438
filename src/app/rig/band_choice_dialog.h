#pragma once
// "Sweep Bands…": which bands of the band table a sweep visits.
#include <QDialog>
#include <QList>
#include <QStringList>

class QCheckBox;

namespace fw {

class BandChoiceDialog : public QDialog {
    Q_OBJECT

  public:
    // One box per band, in the given order; those in `checked` start ticked.
    BandChoiceDialog(const QStringList& bands, const QStringList& checked, QWidget* parent);
    // The ticked bands, in the given order.
    QStringList chosen() const;

  private:
    QList<QCheckBox*> boxes_;
};

}  // namespace fw
