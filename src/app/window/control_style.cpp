#include "app/window/control_style.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace fw {

void PlaceWidget(QWidget* widget, const Rect& r) {
    widget->setGeometry(r.left, r.top, r.width, r.height);
}

QFont WindowFont() {
    QFont f(QStringLiteral("Liberation Sans"), 8);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFont MonospaceFont() {
    QFont f(QStringLiteral("Liberation Mono"), 8);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

QFont EnterButtonFont() {
    QFont f = WindowFont();
    f.setPixelSize(19);
    f.setBold(true);
    return f;
}

void SetInputColour(QWidget* input, bool editable) {
    QPalette p = input->palette();
    const QColor colour =
        editable ? QColor(Qt::white) : QApplication::palette().color(QPalette::Button);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base, colour);
    input->setPalette(p);
}

}  // namespace fw
