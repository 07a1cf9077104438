#include <gtest/gtest.h>

#include "diagram/glyph_cache.h"
#include "model/noise_model.h"
#include "diagram/raster_canvas.h"
#include "diagram/render.h"

namespace fw {
namespace {

constexpr Rgb White = RgbHex(0xFFFFFF);
constexpr Rgb Red = RgbHex(0xFF0000);
constexpr Rgb Blue = RgbHex(0x0000FF);

// The pixels that differ from the background.
std::vector<std::pair<int, int>> Marked(const DiagramPicture& p, Rgb background = White) {
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.pixel(x, y) != background) out.emplace_back(x, y);
    return out;
}

struct Bounds {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // inclusive
};
Bounds BoundsOf(const DiagramPicture& p, Rgb background = White) {
    Bounds b;
    for (auto [x, y] : Marked(p, background)) {
        b.x0 = std::min(b.x0, x);
        b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x);
        b.y1 = std::max(b.y1, y);
    }
    return b;
}

TEST(GreyLevelAndFontSize, RoundToBytesAndToEmPixelsAt96Dpi) {
    EXPECT_EQ(GreyLevel(0.9), RgbHex(0xE6E6E6));
    EXPECT_EQ(GreyLevel(0.7), RgbHex(0xB2B2B2));
    EXPECT_EQ(GreyLevel(0.0), RgbHex(0x000000));
    EXPECT_EQ(GreyLevel(1.0), RgbHex(0xFFFFFF));
    EXPECT_EQ(EmPixelsForPoints(8), 11);
    EXPECT_EQ(EmPixelsForPoints(4), 5);
    EXPECT_EQ(EmPixelsForPoints(15), 20);
}

TEST(RasterCanvas, ClearGivesOpaqueWhiteOfTheGivenSize) {
    RasterCanvas c(7, 5);
    c.FillBox(0, 0, 7, 5, Red);
    c.ClearCanvas();
    const DiagramPicture& p = c.picture();
    EXPECT_EQ(p.width, 7);
    EXPECT_EQ(p.height, 5);
    EXPECT_EQ(p.rgb.size(), 7u * 5 * 3);
    EXPECT_TRUE(Marked(p).empty());
}

TEST(RasterCanvas, LinesDrawTheStartPixelButNotTheEnd) {
    RasterCanvas c(20, 20);
    c.DrawLine(2, 3, 6, 3, Red);    // rightward
    c.DrawLine(9, 10, 9, 4, Red);   // upward
    c.DrawLine(15, 2, 12, 2, Red);  // leftward
    c.DrawLine(2, 2, 2, 2, Red);    // zero length: nothing
    const std::vector<std::pair<int, int>> expected = {{13, 2}, {14, 2}, {15, 2}, {2, 3}, {3, 3},
                                                       {4, 3},  {5, 3},  {9, 5},  {9, 6}, {9, 7},
                                                       {9, 8},  {9, 9},  {9, 10}};
    EXPECT_EQ(Marked(c.picture()), expected);

    RasterCanvas slanted(20, 20);
    slanted.DrawLine(10, 10, 1, 5, Red);
    EXPECT_EQ(slanted.picture().pixel(10, 10), Red);
    EXPECT_EQ(slanted.picture().pixel(1, 5), White);
    EXPECT_EQ(Marked(slanted.picture()).size(), 9u);
}

TEST(RasterCanvas, DotIsInscribedInItsSquare) {
    for (int r : {1, 2, 3, 7}) {
        RasterCanvas c(40, 40);
        c.DrawDot(20, 20, r, Blue);
        const Bounds b = BoundsOf(c.picture());
        EXPECT_EQ(b.x0, 20 - r) << r;
        EXPECT_EQ(b.x1, 20 + r - 1) << r;
        EXPECT_EQ(b.y0, 20 - r) << r;
        EXPECT_EQ(b.y1, 20 + r - 1) << r;
        // The disc is symmetric and its centre square is filled.
        EXPECT_EQ(c.picture().pixel(20, 20), Blue);
        EXPECT_EQ(c.picture().pixel(19, 19), Blue);
    }
    RasterCanvas small(10, 10);
    small.DrawDot(5, 5, 2, Blue);
    EXPECT_EQ(Marked(small.picture()).size(), 12u);  // 4 x 4 without its corners
}

TEST(RasterCanvas, BoxesCoverExactlyTheirArea) {
    RasterCanvas c(20, 20);
    c.FillBox(3, 4, 5, 2, Red);
    Bounds b = BoundsOf(c.picture());
    EXPECT_EQ(Marked(c.picture()).size(), 10u);
    EXPECT_EQ(b.x0, 3);
    EXPECT_EQ(b.x1, 7);
    EXPECT_EQ(b.y0, 4);
    EXPECT_EQ(b.y1, 5);

    RasterCanvas d(20, 20);
    d.DrawBox(2, 2, 6, 5, Red, Blue);
    const DiagramPicture& p = d.picture();
    EXPECT_EQ(p.pixel(2, 2), Blue);
    EXPECT_EQ(p.pixel(7, 6), Blue);
    EXPECT_EQ(p.pixel(4, 4), Red);
    EXPECT_EQ(p.pixel(8, 4), White);
    EXPECT_EQ(p.pixel(4, 7), White);
}

TEST(RasterCanvas, MarksBeyondTheEdgesAreClippedNotFatal) {
    RasterCanvas c(10, 10);
    c.DrawLine(-50, 5, 50, 5, Red);
    c.DrawLine(5, -1000000, 5, 1000000, Red);
    c.DrawDot(-100000, 3, 3, Red);
    c.DrawDot(9, 9, 3, Red);
    c.FillBox(-5, -5, 8, 8, Red);
    c.SetFont("ftArial", 8);
    c.DrawText(8, 8, "clipped text", Red, Blue);
    c.DrawTextUp(-30, 300, "upward", Red, Blue);
    c.DrawTextUp(8, 2, "up", Red, Blue);
    EXPECT_EQ(c.picture().pixel(0, 5), Red);
    EXPECT_EQ(c.picture().pixel(8, 1), Blue);
    EXPECT_EQ(c.picture().pixel(9, 5), Red);
    EXPECT_EQ(c.picture().pixel(5, 0), Red);
}

TEST(RasterCanvas, TextCellIsFilledWithTheBackgroundFirst) {
    ASSERT_NE(DiagramFontAtPixels(11), nullptr) << "no diagram face installed";
    SizedFont& font = *DiagramFontAtPixels(11);
    const int width = font.textWidth("Hi");
    const int height = font.metrics().lineHeight;
    EXPECT_GE(height, 11);

    RasterCanvas c(60, 40);
    c.FillBox(0, 0, 60, 40, Red);
    c.SetFont("ftArial", 8);
    c.DrawText(5, 6, "Hi", RgbHex(0x000000), White);
    const DiagramPicture& p = c.picture();
    int dark = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            const bool inCell = x >= 5 && x < 5 + width && y >= 6 && y < 6 + height;
            ASSERT_EQ(p.pixel(x, y) == Red, !inCell) << x << "," << y;
            if (inCell && p.pixel(x, y).r < 100) ++dark;
        }
    }
    EXPECT_GT(dark, 10);  // the glyphs are there
}

TEST(RasterCanvas, TextUpIsRotatedCounterClockwise) {
    SizedFont& font = *DiagramFontAtPixels(11);
    const int width = font.textWidth("E[dB(uV/m)]");
    const int height = font.metrics().lineHeight;

    RasterCanvas c(60, 120);
    c.FillBox(0, 0, 60, 120, Red);
    c.SetFont("ftArial", 8);
    c.DrawTextUp(10, 100, "E[dB(uV/m)]", RgbHex(0x000000), White);
    const Bounds cell = BoundsOf(c.picture(), Red);
    EXPECT_EQ(cell.x0, 10);
    EXPECT_EQ(cell.x1, 10 + height - 1);
    EXPECT_EQ(cell.y1, 99);
    EXPECT_EQ(cell.y0, 100 - width);

    // The first letter "E" sits at the bottom: dark pixels in the lowest rows of the cell.
    int darkBottom = 0;
    for (int x = 10; x < 10 + height; ++x) {
        for (int y = 100 - 6; y < 100; ++y) darkBottom += c.picture().pixel(x, y).r < 128;
    }
    EXPECT_GT(darkBottom, 4);
    // Baseline of the glyphs is toward the right side of the cell (tops point left).
    int leftHalf = 0, rightHalf = 0;
    for (int y = 100 - width; y < 100; ++y)
        for (int x = 10; x < 10 + height; ++x)
            if (c.picture().pixel(x, y).r < 128) (x < 10 + height / 2 ? leftHalf : rightHalf)++;
    EXPECT_GT(leftHalf, 0);
    EXPECT_GT(rightHalf, 0);
}

TEST(RasterCanvas, EmptyPicturesAndTinyFontsAreHarmless) {
    RasterCanvas c(0, 0);
    c.ClearCanvas();
    c.SetFont("ftArial", 0);
    c.DrawText(0, 0, "x", White, White);
    c.DrawDot(0, 0, 2, Red);
    EXPECT_TRUE(c.picture().empty());
}

TEST(Utf8, DecodesAndKeepsInvalidBytesAsLatin1) {
    EXPECT_EQ(DecodeUtf8("Ab"), (std::vector<char32_t>{'A', 'b'}));
    EXPECT_EQ(DecodeUtf8("\xC3\xA4"), (std::vector<char32_t>{0xE4}));
    EXPECT_EQ(DecodeUtf8("\xE2\x82\xAC"), (std::vector<char32_t>{0x20AC}));
    EXPECT_EQ(DecodeUtf8("\xE4x"), (std::vector<char32_t>{0xE4, 'x'}));
    EXPECT_EQ(DecodeUtf8("\xC3"), (std::vector<char32_t>{0xC3}));
}

TEST(RenderDiagram, IsDeterministicAndSizedAsAsked) {
    const ReferenceCurves rc = computeReferenceCurves(2700);
    DiagramInputs in;
    in.curves = &rc;
    const DiagramPicture a = renderDiagram(in);
    EXPECT_EQ(a.width, 537);
    EXPECT_EQ(a.height, 497);
    EXPECT_EQ(a.rgb, renderDiagram(in).rgb);
    // City's first dot at (67, 63), radius 2: its inner pixels are red.
    EXPECT_EQ(a.pixel(66, 62), RgbHex(0xFF0000));
    // The level axis is black at x 67 between the plot's top and bottom.
    EXPECT_EQ(a.pixel(67, 300), RgbHex(0x000000));
    for (auto [w, h] : {std::pair{1, 1}, {10, 300}, {2000, 50}}) {
        in.width = w;
        in.height = h;
        const DiagramPicture p = renderDiagram(in);
        EXPECT_EQ(p.width, w);
        EXPECT_EQ(p.height, h);
    }
}

}  // namespace
}  // namespace fw
