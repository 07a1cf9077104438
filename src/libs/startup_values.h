#pragma once
// The start-up values and user texts that the window, the renderer and floorwatch-cli share,
// written once here.
#include <cstdint>
#include <string_view>

namespace fw {

// The bandwidth box's start-up and reset text, and its value.
inline constexpr std::string_view StartBandwidthText = "2700";
inline constexpr std::int32_t StartBandwidthHz = 2700;
inline constexpr std::string_view BandwidthRefusedText = "Bandwidth must be an integer number!";

// The level axis: lower end and span in dB.
inline constexpr std::int32_t StartYPos = -40;
inline constexpr std::int32_t StartYWidth = 60;

// The picture area of the window at its designed size.
inline constexpr int StartPictureWidth = 537;
inline constexpr int StartPictureHeight = 497;

// Locator and measurement time before the user has set them.
inline constexpr std::string_view NoLocatorText = "NoLoc.";
inline constexpr std::string_view NoDateTimeText = "NoDateTime";

}  // namespace fw
