#include "app/stationlog/neighbours_window.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/stationlog/log_span_dialog.h"
#include "app/stationlog/log_view_window.h"

namespace fw {

NeighboursWindow::NeighboursWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(NeighboursCaption));
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    auto* form = new QFormLayout;
    server = new QLineEdit(this);
    server->setPlaceholderText(QStringLiteral("host=... dbname=... user=..."));
    form->addRow(QStringLiteral("&Server"), server);
    station = new QLineEdit(this);
    form->addRow(QStringLiteral("S&tation"), station);
    band = new QComboBox(this);
    form->addRow(QStringLiteral("&Band"), band);
    from = NewUtcEdit(this);
    to = NewUtcEdit(this);
    form->addRow(QStringLiteral("&From"), from);
    form->addRow(QStringLiteral("T&o"), to);
    radius = new QSpinBox(this);
    radius->setRange(1, 20000);
    radius->setSuffix(QStringLiteral(" km"));
    form->addRow(QStringLiteral("&Radius"), radius);
    hours = new QLineEdit(this);
    hours->setPlaceholderText(QStringLiteral("whole day, or e.g. 18-23"));
    form->addRow(QStringLiteral("&Hours UTC"), hours);
    side->addLayout(form);
    compare = new QPushButton(QStringLiteral("Co&mpare"), this);
    cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setEnabled(false);
    auto* run = new QHBoxLayout;
    run->addWidget(compare);
    run->addWidget(cancel);
    side->addLayout(run);
    summary = new QLabel(this);
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    side->addWidget(summary);
    side->addStretch();
    save = new QPushButton(QStringLiteral("&Save Picture"), this);
    copy = new QPushButton(QStringLiteral("Cop&y to Clipboard"), this);
    print = new QPushButton(PrintCaption, this);
    for (QPushButton* b : {save, copy, print}) {
        b->setEnabled(false);  // until there is a plot
        side->addWidget(b);
    }
    layout->addLayout(side);
    image = AddChartLabel(*this, *layout);
}

}  // namespace fw
