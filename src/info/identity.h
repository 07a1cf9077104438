#pragma once
// The program's identity texts: title, version and copyright.
#include <string_view>

namespace fw {

inline constexpr std::string_view ApplicationTitle = "Floorwatch";
inline constexpr std::string_view ProgramVersionText = "v 1.0";
inline constexpr std::string_view ProgramCopyrightText = "(c) 2026 The Floorwatch authors";

}  // namespace fw
