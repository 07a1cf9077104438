#include "rig/mode_rule.h"

namespace fw::rig {

std::string ModeFor(const ModeRule& rule, std::string_view band, double fMHz) {
    if (!band.empty())
        for (const auto& [b, mode] : rule.bandModes)
            if (b == band) return mode;
    return fMHz < rule.splitMHz ? rule.belowSplit : rule.fromSplit;
}

}  // namespace fw::rig
