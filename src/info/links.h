#pragma once
// The outside addresses the program knows for certain. The report's mailbox and the two
// associations' pages are settings (see src/app/settings/app_settings.h).
#include <string>
#include <string_view>

namespace fw {

inline constexpr std::string_view ItuP372Url = "https://www.itu.int/rec/R-REC-P.372/en";

// What a link item shows when no address is set for it, and where to set one.
inline std::string NoAddressText(std::string_view item) {
    return "No web address is set for \"" + std::string(item) +
           "\". Enter one under File > Settings… and choose the item again.";
}

}  // namespace fw
