#include "app_state.h"

#include <gtest/gtest.h>

#include "entry_method_states.h"

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
    s.VersionText = "v 2.5";
    s.CopyrightText = "(c) someone";
    EXPECT_EQ(WindowCaption(s), "Floorwatch v 2.5 (c) someone");
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
        EXPECT_EQ(s.YPos, -40);  // nothing else changes
    }
}

TEST(LabelToggles, SecondClickSwitchesBack) {
    AppState s = StartupAppState("/x/fw");
    ApplyLabelToggles(s, {.shift = true, .alt = true});
    ApplyLabelToggles(s, {.shift = true, .alt = true});
    EXPECT_FALSE(s.DebugVisible);
    EXPECT_TRUE(s.AutoLayout);
}

TEST(EntryMethodStates, EditableAndEmptiedFieldsPerMethod) {
    const EntryMethodStates sValue = StatesForEntryMethod(0);
    EXPECT_TRUE(sValue.sValueEnabled && sValue.gainEditable);
    EXPECT_FALSE(sValue.powerEditable || sValue.voltageEditable || sValue.fieldEditable);
    EXPECT_TRUE(sValue.clearPower && sValue.clearVoltage && sValue.clearField);
    EXPECT_FALSE(sValue.clearGain);

    const EntryMethodStates volt = StatesForEntryMethod(1);
    EXPECT_FALSE(volt.sValueEnabled || volt.powerEditable || volt.fieldEditable);
    EXPECT_TRUE(volt.gainEditable && volt.voltageEditable);
    EXPECT_TRUE(volt.clearPower && volt.clearField);
    EXPECT_FALSE(volt.clearVoltage || volt.clearGain);

    const EntryMethodStates power = StatesForEntryMethod(2);
    EXPECT_TRUE(power.gainEditable && power.powerEditable);
    EXPECT_FALSE(power.sValueEnabled || power.voltageEditable || power.fieldEditable);
    EXPECT_TRUE(power.clearVoltage && power.clearField);
    EXPECT_FALSE(power.clearPower || power.clearGain);

    const EntryMethodStates field = StatesForEntryMethod(3);
    EXPECT_TRUE(field.fieldEditable);
    EXPECT_FALSE(field.sValueEnabled || field.gainEditable || field.powerEditable ||
                 field.voltageEditable);
    EXPECT_TRUE(field.clearGain && field.clearPower && field.clearVoltage);
    EXPECT_FALSE(field.clearField);

    EXPECT_TRUE(StatesForEntryMethod(7).sValueEnabled);  // out of range acts as "S-Value"
}

}  // namespace
}  // namespace fw
