#pragma once
#include <cstdint>
#include <vector>

namespace fw {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// A colour written #RRGGBB, given as 0xRRGGBB.
constexpr Rgb RgbHex(std::uint32_t v) {
    return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
               static_cast<std::uint8_t>(v)};
}

inline constexpr Rgb Black = RgbHex(0x000000);
inline constexpr Rgb White = RgbHex(0xFFFFFF);

// Grey with red = green = blue = round(f * 255): 0.9 gives #E6E6E6, 0.7 gives #B2B2B2.
Rgb GreyLevel(double fraction);

// The rendered diagram: width x height opaque RGB pixels, 8 bits per channel, rows from
// the top, 3 bytes per pixel, no padding.
struct DiagramPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    DiagramPicture() = default;
    DiagramPicture(int w, int h, Rgb fill = RgbHex(0xFFFFFF));

    Rgb pixel(int x, int y) const {
        const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return Rgb{p[0], p[1], p[2]};
    }
    const std::uint8_t* row(int y) const { return &rgb[static_cast<std::size_t>(y) * width * 3]; }
    bool empty() const { return width <= 0 || height <= 0; }
};

}  // namespace fw
