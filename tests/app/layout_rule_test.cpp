#include "app/logic/layout_rule.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(LayoutRule, CreatedSizeGivesTheDesignedFigures) {
    const MainLayout l = FormResizeLayout({981, 580});
    EXPECT_EQ(l.window, (Size{981, 580}));
    EXPECT_EQ(l.panel1, (Rect{565, 5, 401, 519}));
    EXPECT_EQ(l.gbDia, (Rect{6, 5, 554, 518}));
    EXPECT_EQ(l.gbud, (Rect{0, 248, 401, 270}));
    EXPECT_EQ(l.lbUserData, (Rect{8, 14, 385, 246}));
    EXPECT_EQ(l.imPlot, (Rect{8, 16, 536, 494}));
    EXPECT_EQ(l.panDebug, (Rect{16, 112, 369, 145}));
    EXPECT_EQ(l.panDebugVisibleHeight, 145);
}

TEST(LayoutRule, TooSmallWindowIsEnlargedToTheMinimum) {
    for (Size tooSmall : {Size{600, 300}, Size{0, 0}, Size{-5, 399}, Size{749, 100}}) {
        const MainLayout l = FormResizeLayout(tooSmall);
        EXPECT_EQ(l.window, (Size{750, 400}));
        EXPECT_EQ(l.panel1, (Rect{334, 5, 401, 339}));
        EXPECT_EQ(l.gbDia, (Rect{6, 5, 323, 338}));
        EXPECT_EQ(l.gbud.height, 90);
        EXPECT_EQ(l.lbUserData.height, 66);
        EXPECT_EQ(l.imPlot, (Rect{8, 16, 305, 314}));
    }
    // Only the too small dimension is raised.
    const MainLayout wide = FormResizeLayout({1200, 300});
    EXPECT_EQ(wide.window, (Size{1200, 400}));
    EXPECT_EQ(wide.panel1.left, 784);
}

TEST(LayoutRule, FixedControlsKeepTheirPlaceAtAnySize) {
    for (Size s : {Size{750, 400}, Size{1920, 1080}, Size{4000, 3000}}) {
        const MainLayout l = FormResizeLayout(s);
        EXPECT_EQ(l.panel1.width, 401);
        EXPECT_EQ(l.panel1.left + l.panel1.width, s.width - 15);
        EXPECT_EQ(l.gbud.top, 248);
        EXPECT_EQ(l.imPlot.left, 8);
        EXPECT_EQ(l.imPlot.top, 16);
        EXPECT_EQ(l.panDebug, design::PanDebug);
    }
}

TEST(LayoutRule, DebugPanelIsCutBelow567AndGoneAt422) {
    EXPECT_EQ(FormResizeLayout({981, 567}).panDebugVisibleHeight, 145);
    EXPECT_EQ(FormResizeLayout({981, 2000}).panDebugVisibleHeight, 145);
    EXPECT_EQ(FormResizeLayout({981, 566}).panDebugVisibleHeight, 144);
    EXPECT_EQ(FormResizeLayout({981, 423}).panDebugVisibleHeight, 1);
    EXPECT_EQ(FormResizeLayout({981, 422}).panDebugVisibleHeight, 0);
    EXPECT_EQ(FormResizeLayout({981, 400}).panDebugVisibleHeight, 0);
    EXPECT_EQ(DebugPanelVisibleHeight(-50), 0);
}

TEST(LayoutRule, ClientAndOuterSizesConvertBothWays) {
    const Size client = ClientSizeOf(design::Window);
    EXPECT_EQ(OuterSizeOf(client), design::Window);
    // The designed controls fit into the client area as created.
    EXPECT_LE(design::GBDia.top + design::GBDia.height, client.height);
    EXPECT_LE(design::Panel1.left + design::Panel1.width, client.width);
    // And the laid-out ones at the minimum size as well.
    const MainLayout l = FormResizeLayout(MinWindowSize);
    const Size minClient = ClientSizeOf(MinWindowSize);
    EXPECT_LE(l.panel1.left + l.panel1.width, minClient.width);
    EXPECT_LE(l.panel1.top + l.panel1.height, minClient.height);
}

}  // namespace
}  // namespace fw
