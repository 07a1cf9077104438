#include "app/stationlog/monitor_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace fw {

MonitorWindow::MonitorWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Monitor"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    bands = new QLineEdit(this);
    bands->setPlaceholderText(QStringLiteral("all bands"));
    bands->setToolTip(QStringLiteral("Bands separated by commas, e.g. 80m,40m,20m"));
    form->addRow(QStringLiteral("Bands"), bands);
    everySeconds = new QSpinBox(this);
    everySeconds->setRange(1, 7 * 86400);
    everySeconds->setSuffix(QStringLiteral(" s"));
    form->addRow(QStringLiteral("Every"), everySeconds);
    forMinutes = new QSpinBox(this);
    forMinutes->setRange(0, 525600);
    forMinutes->setSuffix(QStringLiteral(" min"));
    forMinutes->setSpecialValueText(QStringLiteral("until stopped"));
    form->addRow(QStringLiteral("For"), forMinutes);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    start = new QPushButton(QStringLiteral("&Start"), this);
    stop = new QPushButton(QStringLiteral("S&top"), this);
    buttons->addWidget(start);
    buttons->addWidget(stop);
    buttons->addStretch();
    layout->addLayout(buttons);

    state = new QLabel(QStringLiteral("Not running"), this);
    nextSweep = new QLabel(this);
    gaps = new QLabel(QStringLiteral("Gaps: 0"), this);
    for (QLabel* label : {state, nextSweep, gaps}) layout->addWidget(label);
    lastSweep = new QPlainTextEdit(this);
    lastSweep->setReadOnly(true);
    lastSweep->setPlaceholderText(
        QStringLiteral("The readings and gaps of the last complete sweep appear here."));
    layout->addWidget(lastSweep);
    setRunning(false);
}

void MonitorWindow::setRunning(bool running) {
    for (QWidget* w : {static_cast<QWidget*>(bands), static_cast<QWidget*>(everySeconds),
                       static_cast<QWidget*>(forMinutes), static_cast<QWidget*>(start)})
        w->setEnabled(!running);
    stop->setEnabled(running);
}

}  // namespace fw
