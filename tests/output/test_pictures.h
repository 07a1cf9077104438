#pragma once
// Test pictures built directly, independent of the diagram renderer.
#include <cstdint>
#include <random>

#include "diagram/picture.h"

namespace fw::test {

// A picture whose pixels follow `colour(x, y)`.
template <typename F>
DiagramPicture MakePicture(int width, int height, F colour) {
    DiagramPicture p;
    p.width = width;
    p.height = height;
    p.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    std::uint8_t* out = p.rgb.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
        }
    }
    return p;
}

// Neighbouring pixels and the three channels all differ, so swapped channels, flipped
// rows or shifted columns show up.
inline DiagramPicture PatternPicture(int width, int height) {
    return MakePicture(width, height, [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(y * 13 + x * 3),
                   static_cast<std::uint8_t>((x ^ y) * 5 + 40)};
    });
}

// Random pixels: they barely compress, so the encoded data is large.
inline DiagramPicture NoisePicture(int width, int height, unsigned seed = 1) {
    std::mt19937 gen(seed);
    return MakePicture(width, height, [&](int, int) {
        const std::uint32_t v = gen();
        return Rgb{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                   static_cast<std::uint8_t>(v >> 16)};
    });
}

// Smooth colour ramps, which a lossy coder keeps close to the original.
inline DiagramPicture GradientPicture(int width, int height) {
    return MakePicture(width, height, [&](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(255 * x / width),
                   static_cast<std::uint8_t>(255 * y / height),
                   static_cast<std::uint8_t>(128 + 100 * (x - y) / (width + height))};
    });
}

}  // namespace fw::test
