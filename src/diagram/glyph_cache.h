#pragma once
// Rasterised glyphs of the diagram's text face, cached per pixel size and character.
// The face is Liberation Sans wherever it is installed (metrically compatible with Arial),
// so a picture is the same on every machine; the default sans face serves where it is missing.
#include <cstdint>
#include <string_view>
#include <vector>

namespace fw {

struct Glyph {
    int advance = 0;  // pixels to the next pen position
    int left = 0;     // bitmap offset from the pen position
    int top = 0;      // bitmap top above the baseline
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;  // width * height grey values, 0..255
};

struct FontMetrics {
    int ascender = 0;    // baseline below the cell top
    int lineHeight = 0;  // cell height
};

class SizedFont {
  public:
    virtual ~SizedFont() = default;
    virtual const FontMetrics& metrics() const = 0;
    // The glyph of a Unicode code point (a missing one gives the face's replacement glyph).
    virtual const Glyph& glyph(char32_t codePoint) = 0;
    // Advance width of a UTF-8 text in pixels.
    int textWidth(std::string_view utf8);
};

// The diagram face at an em height in pixels; nullptr where no face can be loaded or the
// size is below one pixel. Fonts live for the whole process.
SizedFont* DiagramFontAtPixels(int emPixels);

// The path of the font file in use, for diagnostics ("" when none was found).
std::string_view DiagramFontFile();

// Decodes UTF-8 into code points; invalid bytes are taken as Latin-1 characters.
std::vector<char32_t> DecodeUtf8(std::string_view text);

}  // namespace fw
