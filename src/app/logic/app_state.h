#pragma once
// The state of one run of the main window and the operations on it that need no window.
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

inline constexpr std::string_view ApplicationTitle = "Floorwatch";
inline constexpr std::string_view ProgramVersionText = "v 1.0";
inline constexpr std::string_view ProgramCopyrightText = "(c) 2026 The Floorwatch authors";
inline constexpr std::string_view NoLocatorText = "NoLoc.";
inline constexpr std::string_view NoDateTimeText = "NoDateTime";
inline constexpr std::int32_t StartYPos = -40;
inline constexpr std::int32_t StartYWidth = 60;

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
