#pragma once
// Fonts and colours shared by the main window's controls.
#include <QFont>

#include "app/logic/design_layout.h"

class QWidget;

namespace fw {

// Puts a widget at a design rectangle within its parent.
void PlaceWidget(QWidget* widget, const Rect& r);

QFont WindowFont();       // proportional sans-serif, 8 points
QFont MonospaceFont();    // fixed-width, 8 points
QFont EnterButtonFont();  // bold, 19 pixels high

// An input that can be edited is white; a read-only field or a disabled selector takes the
// system's button-face colour.
void SetInputColour(QWidget* input, bool editable);

}  // namespace fw
