#include "app/rig/spectrum_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fw {

SpectrumWindow::SpectrumWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Spectrum"));
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    reading = new QComboBox(this);
    side->addWidget(reading);
    side->addStretch();
    save = new QPushButton(QStringLiteral("&Save Picture"), this);
    copy = new QPushButton(QStringLiteral("&Copy to Clipboard"), this);
    print = new QPushButton(QStringLiteral("&Print…"), this);
    for (QPushButton* b : {save, copy, print}) side->addWidget(b);
    layout->addLayout(side);
    image = new QLabel(this);
    image->setMinimumSize(400, 250);
    layout->addWidget(image, 1);
}

}  // namespace fw
