#pragma once
// The main window's frame as the layout rule sees it: its outer size and whether the border
// can be dragged. The display controller resizes through it without knowing the window.
#include "app/logic/layout_rule.h"

namespace fw {

class WindowFrame {
  public:
    virtual ~WindowFrame() = default;
    // The window's outer size: the client area plus the frame and caption band.
    virtual Size outerSize() const = 0;
    virtual void setOuterSize(Size outer) = 0;
    // A resizable frame (automatic layout) or a fixed one.
    virtual void setResizableBorder(bool resizable) = 0;
};

}  // namespace fw
