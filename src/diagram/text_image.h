#pragma once
// A text rendered once in one font size and colour pair: the inked pixels of its cell,
// ready to copy over a cell filled with the background, and the few ink pixels that reach
// outside the cell (to be blended). Texts repeat on
// every redraw (labels, legend, title), so they are kept in a bounded process-wide cache.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "diagram/glyph_cache.h"
#include "diagram/picture.h"

namespace fw {

struct TextImage {
    int width = 0;   // cell width: the advance width, or the line height when rotated
    int height = 0;  // cell height: the line height, or the advance width when rotated
    // The cell's pixels that differ from the background, as runs within rows.
    struct Run {
        int row = 0, x = 0, length = 0;
        std::size_t offset = 0;  // into pixels, in bytes
    };
    std::vector<Run> runs;
    std::vector<std::uint8_t> pixels;  // RGB of all runs, one after the other
    struct Ink {
        int dx = 0, dy = 0;  // relative to the cell's top-left corner
        std::uint8_t alpha = 0;
    };
    std::vector<Ink> outside;  // glyph pixels beyond the cell, to be blended
};

// The text image of `utf8` in `font` (em height `emPixels`), fg glyphs over a bg cell;
// `upward` turns it 90 degrees counter-clockwise.
std::shared_ptr<const TextImage> CachedTextImage(SizedFont& font, int emPixels,
                                                 std::string_view utf8, Rgb fg, Rgb bg,
                                                 bool upward);

}  // namespace fw
