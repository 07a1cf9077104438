#pragma once
#include "diagram/canvas.h"
#include "diagram/glyph_cache.h"
#include "diagram/text_image.h"

namespace fw {

// DiagramCanvas on an RGB pixel buffer. Marks are clipped at the picture's edges and at the
// clip rectangle.
class RasterCanvas final : public DiagramCanvas {
  public:
    RasterCanvas(int width, int height);

    void ClearCanvas() override;
    void SetFont(std::string_view family, int sizePt) override;
    void DrawLine(int x1, int y1, int x2, int y2, Rgb colour) override;
    void DrawLines(std::span<const LineSegment> lines, Rgb colour) override;
    void DrawDot(int x, int y, int r, Rgb colour) override;
    void DrawDots(std::span<const DotCentre> centres, int r, Rgb colour) override;
    void FillBox(int x, int y, int w, int h, Rgb colour) override;
    void DrawBox(int x, int y, int w, int h, Rgb fill, Rgb outline) override;
    void DrawText(int x, int y, std::string_view text, Rgb fg, Rgb bg) override;
    void DrawTextUp(int x, int y, std::string_view text, Rgb fg, Rgb bg) override;
    void SetClip(int x, int y, int w, int h) override;
    void ResetClip() override;

    const DiagramPicture& picture() const { return picture_; }
    DiagramPicture takePicture() { return std::move(picture_); }

  private:
    bool inClip(int x, int y) const;
    void setPixel(int x, int y, Rgb c);
    void blendPixel(int x, int y, Rgb fg, int alpha);
    void fillSpan(int x1, int x2, int y, Rgb c);  // x1 <= px < x2, clipped
    // The background cell at (left, top), then the text's inked pixels over it.
    void blitText(const TextImage& img, int left, int top, Rgb fg, Rgb bg);

    DiagramPicture picture_;
    int clipLeft_ = 0, clipTop_ = 0, clipRight_ = 0, clipBottom_ = 0;  // right, bottom exclusive
    bool blank_ = true;  // every pixel is still white
    SizedFont* font_ = nullptr;
    int fontPixels_ = 0;
    std::vector<int> runs_;  // DrawDots' open runs, kept to spare an allocation per call
    std::vector<std::uint8_t> pattern_;  // one row of patternColour_, for span fills
    Rgb patternColour_{};
};

// Em height in pixels of a font size in points at 96 pixels per inch.
int EmPixelsForPoints(int sizePt);

}  // namespace fw
