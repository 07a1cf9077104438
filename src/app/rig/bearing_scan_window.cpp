#include "app/rig/bearing_scan_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/window/qt_text.h"
#include "rotator/bearing_scan.h"
#include "rotator/rotctld_client.h"

namespace fw {

namespace {

QSpinBox* DegreesBox(QWidget* parent, int low, int high, int value) {
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setValue(value);
    box->setSuffix(QStringLiteral("°"));
    return box;
}

}  // namespace

BearingScanWindow::BearingScanWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Bearing Scan"));
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    auto* form = new QFormLayout;
    const rotator::ScanSpan span;
    rotator = new QLineEdit(
        QStringLiteral("localhost:%1").arg(rotator::DefaultRotctldPort), this);
    rotator->setToolTip(QStringLiteral("The rotctld of the rotator, HOST[:PORT]"));
    model = new QLabel(this);
    model->setWordWrap(true);  // a long rotator name must not squeeze the plot
    from = DegreesBox(this, 0, 359, span.fromDeg);
    to = DegreesBox(this, 0, 359, span.toDeg);
    step = DegreesBox(this, 1, rotator::MostStepDeg, span.stepDeg);
    band = new QComboBox(this);
    band->addItems(BandTableTexts());
    band->setCurrentText(QStringLiteral("40m"));
    form->addRow(QStringLiteral("&Rotator (rotctld):"), rotator);
    form->addRow(QStringLiteral("Model:"), model);
    form->addRow(QStringLiteral("&From:"), from);
    form->addRow(QStringLiteral("&To:"), to);
    form->addRow(QStringLiteral("St&ep:"), step);
    form->addRow(QStringLiteral("&Band:"), band);
    side->addLayout(form);
    start = new QPushButton(QStringLiteral("&Start"), this);
    stop = new QPushButton(QStringLiteral("St&op"), this);
    stop->setEnabled(false);
    side->addWidget(start);
    side->addWidget(stop);
    progress = new QLabel(this);
    progress->setWordWrap(true);
    side->addWidget(progress);
    side->addStretch();
    save = new QPushButton(QStringLiteral("Save &Picture"), this);
    copy = new QPushButton(QStringLiteral("&Copy to Clipboard"), this);
    print = new QPushButton(QStringLiteral("&Print…"), this);
    for (QPushButton* b : {save, copy, print}) side->addWidget(b);
    layout->addLayout(side);
    image = new QLabel(this);
    image->setMinimumSize(PictureSide, PictureSide);
    layout->addWidget(image, 1);
}

}  // namespace fw
