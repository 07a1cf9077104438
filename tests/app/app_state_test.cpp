#include "app/logic/app_state.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(AppState, StartupDefaults) {
    const AppState s = StartupAppState("/opt/floorwatch/bin/floorwatch");
    EXPECT_EQ(s.ProgramDir, "/opt/floorwatch/bin/");
    EXPECT_EQ(s.AppTitle, "Floorwatch");
    EXPECT_EQ(s.VersionText, "v 1.0");
    EXPECT_EQ(s.CopyrightText, "(c) 2026 The Floorwatch authors");
    EXPECT_EQ(s.Locator, "NoLoc.");
    EXPECT_EQ(s.MeasDateTime, "NoDateTime");
    EXPECT_EQ(s.UserDataFile, "");
    EXPECT_FALSE(s.DebugVisible);
    EXPECT_TRUE(s.AutoLayout);
    EXPECT_EQ(s.YPos, -40);
    EXPECT_EQ(s.YWidth, 60);
}

TEST(AppState, ProgramDirEndsInExactlyOneSeparator) {
    EXPECT_EQ(ProgramDirOf("/usr/bin/floorwatch"), "/usr/bin/");
    EXPECT_EQ(ProgramDirOf("/usr//bin///floorwatch"), "/usr//bin/");
    EXPECT_EQ(ProgramDirOf("/floorwatch"), "/");
    EXPECT_EQ(ProgramDirOf("//floorwatch"), "/");
    EXPECT_EQ(ProgramDirOf("floorwatch"), "./");
    EXPECT_EQ(ProgramDirOf(""), "./");
}

TEST(AppState, CaptionHasOneBlankBetweenItsParts) {
    AppState s = StartupAppState("/x/fw");
    EXPECT_EQ(WindowCaption(s), "Floorwatch v 1.0 (c) 2026 The Floorwatch authors");
    s.CopyrightText = "(c) someone";
    EXPECT_EQ(WindowCaption(s), "Floorwatch v 1.0 (c) someone");
}

TEST(LabelToggles, ShiftFlipsThePanelAltTheLayoutCtrlNothing) {
    struct Case {
        ShiftState keys;
        bool debugAfter;
        bool layoutAfter;
    };
    // Start: panel off, layout on.
    const Case cases[] = {
        {{}, false, true},
        {{.ctrl = true}, false, true},
        {{.shift = true}, true, true},
        {{.shift = true, .ctrl = true}, true, true},
        {{.alt = true}, false, false},
        {{.alt = true, .ctrl = true}, false, false},
        {{.shift = true, .alt = true}, true, false},
        {{.shift = true, .alt = true, .ctrl = true}, true, false},
    };
    for (const Case& c : cases) {
        AppState s = StartupAppState("/x/fw");
        const ToggleResult r = ApplyLabelToggles(s, c.keys);
        EXPECT_EQ(s.DebugVisible, c.debugAfter);
        EXPECT_EQ(s.AutoLayout, c.layoutAfter);
        EXPECT_EQ(r.debugChanged, c.keys.shift);
        EXPECT_EQ(r.layoutChanged, c.keys.alt);
        EXPECT_EQ(s.YPos, -40);        // nothing else changes
        ApplyLabelToggles(s, c.keys);  // a second click switches back
        EXPECT_FALSE(s.DebugVisible);
        EXPECT_TRUE(s.AutoLayout);
    }
}

}  // namespace
}  // namespace fw
