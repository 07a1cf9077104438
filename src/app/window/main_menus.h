#pragma once
#include "app/window/main_controls.h"

namespace fw {

// The main menu, the image's and the list box's context menus. Only "Close" is wired
// here; every other item starts disabled.
MainActions BuildMainMenus(QMainWindow& window, QWidget& image, QWidget& listBox);

}  // namespace fw
