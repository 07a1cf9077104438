#include "app/logic/layout_rule.h"

#include <algorithm>

namespace fw {

MainLayout FormResizeLayout(Size outer) {
    MainLayout l;
    const int w = std::max(outer.width, MinWindowSize.width);
    const int h = std::max(outer.height, MinWindowSize.height);
    l.window = {w, h};

    const int panelWidth = design::Panel1.width;
    l.panel1 = {w - 416, 5, panelWidth, h - 61};
    l.gbDia = {6, 5, w - panelWidth - 26, h - 62};
    l.gbud = {design::GBUD.left, design::GBUD.top, design::GBUD.width, h - 310};
    l.lbUserData = {design::LBUserData.left, design::LBUserData.top, design::LBUserData.width,
                    l.gbud.height - 24};
    l.imPlot = {design::ImPlot.left, design::ImPlot.top, l.gbDia.width - 18, l.gbDia.height - 24};
    l.panDebug = design::PanDebug;
    l.panDebugVisibleHeight = DebugPanelVisibleHeight(l.gbud.height);
    return l;
}

int DebugPanelVisibleHeight(int gbudHeight) {
    return std::clamp(gbudHeight - design::PanDebug.top, 0, design::PanDebug.height);
}

}  // namespace fw
