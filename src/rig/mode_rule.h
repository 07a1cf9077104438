#pragma once
// Which receive mode a sweep sets on each band, as plain data the user can change.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw::rig {

struct ModeRule {
    double splitMHz = 10.0;
    std::string belowSplit = "LSB";  // below splitMHz
    std::string fromSplit = "USB";   // at and above splitMHz
    // Band texts with a mode of their own; they win over the split.
    std::vector<std::pair<std::string, std::string>> bandModes = {{"LW", "AM"}, {"MW", "AM"}};
};

// The mode for a band (empty for a free frequency) at fMHz.
std::string ModeFor(const ModeRule& rule, std::string_view band, double fMHz);

}  // namespace fw::rig
