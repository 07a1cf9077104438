#include "app/stationlog/log_view_window.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/stationlog/log_span_dialog.h"

namespace fw {

LogViewWindow::LogViewWindow(const QString& title, bool severalBands, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    auto* form = new QFormLayout;
    from = NewUtcEdit(this);
    to = NewUtcEdit(this);
    form->addRow(QStringLiteral("From"), from);
    form->addRow(QStringLiteral("To"), to);
    side->addLayout(form);
    if (severalBands) {
        bandList = new QListWidget(this);
        side->addWidget(bandList);
    } else {
        bandBox = new QComboBox(this);
        side->addWidget(bandBox);
        side->addStretch();
    }
    save = new QPushButton(QStringLiteral("&Save Picture"), this);
    copy = new QPushButton(QStringLiteral("&Copy to Clipboard"), this);
    print = new QPushButton(PrintCaption, this);
    side->addWidget(save);
    side->addWidget(copy);
    side->addWidget(print);
    layout->addLayout(side);
    image = AddChartLabel(*this, *layout);
}

QLabel* AddChartLabel(QDialog& window, QBoxLayout& layout) {
    auto* image = new QLabel(&window);
    // The chart is drawn at the size the window gives it, so its picture must not hold the
    // window at the size it had; the window opens with room for the chart at its usual size.
    image->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    image->setAlignment(Qt::AlignCenter);
    layout.addWidget(image, 1);
    image->setMinimumSize(OpeningChartSize);
    window.adjustSize();
    image->setMinimumSize(400, 250);
    return image;
}

void LogViewWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    emit resized();
}

}  // namespace fw
