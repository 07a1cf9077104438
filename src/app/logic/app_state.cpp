#include "app/logic/app_state.h"

namespace fw {

namespace {

#ifdef _WIN32
constexpr std::string_view PathSeparators = "\\/";
constexpr char PreferredSeparator = '\\';
#else
constexpr std::string_view PathSeparators = "/";
constexpr char PreferredSeparator = '/';
#endif

}  // namespace

std::string ProgramDirOf(std::string_view programFilePath) {
    const std::size_t lastSep = programFilePath.find_last_of(PathSeparators);
    if (lastSep == std::string_view::npos) return std::string(".") + PreferredSeparator;
    std::string_view dir = programFilePath.substr(0, lastSep + 1);
    // Collapse a run of trailing separators into the one that ends the directory.
    while (dir.size() > 1 && PathSeparators.find(dir[dir.size() - 2]) != std::string_view::npos)
        dir.remove_suffix(1);
    return std::string(dir);
}

AppState StartupAppState(std::string_view programFilePath) {
    AppState s;
    s.ProgramDir = ProgramDirOf(programFilePath);
    s.AppTitle = ApplicationTitle;
    s.VersionText = ProgramVersionText;
    s.CopyrightText = ProgramCopyrightText;
    s.YPos = StartYPos;
    s.YWidth = StartYWidth;
    s.Locator = NoLocatorText;
    s.MeasDateTime = NoDateTimeText;
    s.UserDataFile.clear();
    s.DebugVisible = true;
    s.AutoLayout = true;
    ApplyLabelToggles(s, ShiftState{.shift = true});
    return s;
}

std::string WindowCaption(const AppState& state) {
    return std::string(ApplicationTitle) + " " + state.VersionText + " " + state.CopyrightText;
}

ToggleResult ApplyLabelToggles(AppState& state, ShiftState keys) {
    ToggleResult r;
    if (keys.shift) {
        state.DebugVisible = !state.DebugVisible;
        r.debugChanged = true;
    }
    if (keys.alt) {
        state.AutoLayout = !state.AutoLayout;
        r.layoutChanged = true;
    }
    return r;
}

}  // namespace fw
