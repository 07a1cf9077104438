#pragma once
// The outside addresses the program knows, in one place. A distributor sets them here.
#include <string_view>

namespace fw {

// The mailbox that collects the noise reports.
inline constexpr std::string_view ReportMailbox = "noise-report@korvan.example";
// The web pages of the "Information" menu.
inline constexpr std::string_view KorvanUrl = "https://www.korvan.example/";
inline constexpr std::string_view VelmarRegion1Url = "https://www.velmar.example/region1/";
inline constexpr std::string_view ItuP372Url = "https://www.itu.int/rec/R-REC-P.372/en";

}  // namespace fw
