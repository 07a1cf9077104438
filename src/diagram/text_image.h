#pragma once
// A text rendered once in one font size and colour pair: the pixels of its cell, ready to
// copy, and the few ink pixels that reach outside the cell (to be blended). Texts repeat on
// every redraw (labels, legend, title), so they are kept in a bounded process-wide cache.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "glyph_cache.h"
#include "picture.h"

namespace fw {

struct TextImage {
    int width = 0;   // advance width of the text
    int height = 0;  // line height
    std::vector<std::uint8_t> cellRgb;  // width * height pixels, rows from the top
    struct Ink {
        int dx = 0, dy = 0;  // relative to the cell's top-left corner
        std::uint8_t alpha = 0;
    };
    std::vector<Ink> outside;
};

// The text image of `utf8` in `font` (em height `emPixels`), fg glyphs over a bg cell.
std::shared_ptr<const TextImage> CachedTextImage(SizedFont& font, int emPixels,
                                                 std::string_view utf8, Rgb fg, Rgb bg);

}  // namespace fw
