#pragma once
// The state of one run of the main window and the operations on it that need no window.
#include <cstdint>
#include <string>
#include <string_view>

#include "info/identity.h"
#include "libs/startup_values.h"

namespace fw {


struct AppState {
    std::string ProgramDir;
    std::string AppTitle;
    std::string VersionText;
    std::string CopyrightText;
    std::string Locator;
    std::string MeasDateTime;
    std::string UserDataFile;
    bool DebugVisible = false;
    bool AutoLayout = true;
    std::int32_t YPos = StartYPos;
    std::int32_t YWidth = StartYWidth;
};

// The directory part of a program file's full path, ending in exactly one separator.
// A path without any directory gives "./".
std::string ProgramDirOf(std::string_view programFilePath);

// The state after the window's creation handler: fixed defaults, the diagnostic panel
// switched off (by one Shift toggle from "on") and automatic layout on.
AppState StartupAppState(std::string_view programFilePath);

// "Floorwatch " + VersionText + " " + CopyrightText.
std::string WindowCaption(const AppState& state);

// The modifier keys held during a mouse press on the bandwidth label.
struct ShiftState {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

struct ToggleResult {
    bool debugChanged = false;
    bool layoutChanged = false;
};

// Shift flips DebugVisible, then Alt flips AutoLayout; Ctrl plays no part.
ToggleResult ApplyLabelToggles(AppState& state, ShiftState keys);

}  // namespace fw
