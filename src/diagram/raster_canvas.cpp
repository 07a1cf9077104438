#include "raster_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "fw_math.h"

namespace fw {

namespace {

// Row spans [begin, end) relative to x - r of a disc of radius r inscribed in a 2r square.
struct DiscStamp {
    std::vector<std::pair<int, int>> rows;
};

const DiscStamp& StampForRadius(int r) {
    static std::mutex mutex;
    static std::map<int, DiscStamp>* stamps = new std::map<int, DiscStamp>;
    std::lock_guard lock(mutex);
    auto it = stamps->find(r);
    if (it != stamps->end()) return it->second;
    DiscStamp s;
    const int d = 2 * r;
    const double limit = static_cast<double>(r) * r + 1e-9;
    for (int j = 0; j < d; ++j) {
        const double dy = j + 0.5 - r;
        int begin = d, end = 0;
        for (int i = 0; i < d; ++i) {
            const double dx = i + 0.5 - r;
            if (dx * dx + dy * dy <= limit) {
                begin = std::min(begin, i);
                end = std::max(end, i + 1);
            }
        }
        s.rows.emplace_back(begin, std::max(begin, end));
    }
    return stamps->emplace(r, std::move(s)).first->second;
}

}  // namespace

Rgb GreyLevel(double fraction) {
    const auto v = static_cast<std::uint8_t>(std::clamp(RoundPx(fraction * 255.0), 0, 255));
    return Rgb{v, v, v};
}

DiagramPicture::DiagramPicture(int w, int h, Rgb fill) : width(std::max(w, 0)), height(std::max(h, 0)) {
    const std::size_t n = static_cast<std::size_t>(width) * height;
    if (fill.r == fill.g && fill.g == fill.b) {
        rgb.assign(n * 3, fill.r);
        return;
    }
    rgb.resize(n * 3);
    for (std::size_t i = 0; i < n; ++i) {
        rgb[i * 3] = fill.r;
        rgb[i * 3 + 1] = fill.g;
        rgb[i * 3 + 2] = fill.b;
    }
}

int EmPixelsForPoints(int sizePt) { return RoundPx(sizePt * 96.0 / 72.0); }

RasterCanvas::RasterCanvas(int width, int height) : picture_(width, height) {}

void RasterCanvas::ClearCanvas() { std::memset(picture_.rgb.data(), 0xFF, picture_.rgb.size()); }

void RasterCanvas::SetFont(std::string_view /*family*/, int sizePt) {
    // Every family resolves to the one diagram face (see glyph_cache.h).
    font_ = DiagramFontAtPixels(EmPixelsForPoints(sizePt));
}

void RasterCanvas::setPixel(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= picture_.width || y >= picture_.height) return;
    std::uint8_t* p = &picture_.rgb[(static_cast<std::size_t>(y) * picture_.width + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void RasterCanvas::blendPixel(int x, int y, Rgb fg, int alpha) {
    if (alpha <= 0 || x < 0 || y < 0 || x >= picture_.width || y >= picture_.height) return;
    std::uint8_t* p = &picture_.rgb[(static_cast<std::size_t>(y) * picture_.width + x) * 3];
    auto mix = [alpha](int under, int over) {
        return static_cast<std::uint8_t>((under * (255 - alpha) + over * alpha + 127) / 255);
    };
    p[0] = mix(p[0], fg.r);
    p[1] = mix(p[1], fg.g);
    p[2] = mix(p[2], fg.b);
}

void RasterCanvas::fillSpan(int x1, int x2, int y, Rgb c) {
    if (y < 0 || y >= picture_.height) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, picture_.width);
    if (x1 >= x2) return;
    std::uint8_t* p = &picture_.rgb[(static_cast<std::size_t>(y) * picture_.width + x1) * 3];
    if (c.r == c.g && c.g == c.b) {
        std::memset(p, c.r, static_cast<std::size_t>(x2 - x1) * 3);
        return;
    }
    for (int x = x1; x < x2; ++x, p += 3) {
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
}

void RasterCanvas::DrawLine(int x1, int y1, int x2, int y2, Rgb colour) {
    if (y1 == y2) {  // horizontal: x1 drawn, x2 not
        if (x1 <= x2) fillSpan(x1, x2, y1, colour);
        else fillSpan(x2 + 1, x1 + 1, y1, colour);
        return;
    }
    if (x1 == x2) {  // vertical: y1 drawn, y2 not
        if (x1 < 0 || x1 >= picture_.width) return;
        const int top = y1 < y2 ? y1 : y2 + 1;
        const int end = y1 < y2 ? y2 : y1 + 1;
        for (int y = std::max(top, 0); y < std::min(end, picture_.height); ++y)
            setPixel(x1, y, colour);
        return;
    }
    // Bresenham for the slanted arrow-head strokes; the end pixel is left out.
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    while (!(x == x2 && y == y2)) {
        setPixel(x, y, colour);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void RasterCanvas::DrawDot(int x, int y, int r, Rgb colour) {
    if (r <= 0) return;
    const int x0 = x - r, y0 = y - r;
    if (x0 >= picture_.width || y0 >= picture_.height || x + r <= 0 || y + r <= 0) return;
    const DiscStamp& stamp = StampForRadius(r);
    for (int j = 0; j < 2 * r; ++j) {
        const auto [b, e] = stamp.rows[static_cast<std::size_t>(j)];
        fillSpan(x0 + b, x0 + e, y0 + j, colour);
    }
}

void RasterCanvas::FillBox(int x, int y, int w, int h, Rgb colour) {
    for (int j = std::max(y, 0); j < std::min(y + h, picture_.height); ++j)
        fillSpan(x, x + w, j, colour);
}

void RasterCanvas::DrawBox(int x, int y, int w, int h, Rgb fill, Rgb outline) {
    if (w <= 0 || h <= 0) return;
    FillBox(x, y, w, h, fill);
    fillSpan(x, x + w, y, outline);
    fillSpan(x, x + w, y + h - 1, outline);
    for (int j = std::max(y, 0); j < std::min(y + h, picture_.height); ++j) {
        setPixel(x, j, outline);
        setPixel(x + w - 1, j, outline);
    }
}

void RasterCanvas::DrawText(int x, int y, std::string_view text, Rgb fg, Rgb bg) {
    if (!font_) return;
    const std::vector<char32_t> cps = DecodeUtf8(text);
    const FontMetrics& m = font_->metrics();
    int width = 0;
    for (char32_t cp : cps) width += font_->glyph(cp).advance;
    FillBox(x, y, width, m.lineHeight, bg);
    int pen = x;
    const int baseline = y + m.ascender;
    for (char32_t cp : cps) {
        const Glyph& g = font_->glyph(cp);
        const int gx = pen + g.left, gy = baseline - g.top;
        for (int j = 0; j < g.height; ++j) {
            const std::uint8_t* cov = &g.coverage[static_cast<std::size_t>(j) * g.width];
            for (int i = 0; i < g.width; ++i) blendPixel(gx + i, gy + j, fg, cov[i]);
        }
        pen += g.advance;
    }
}

void RasterCanvas::DrawTextUp(int x, int y, std::string_view text, Rgb fg, Rgb bg) {
    if (!font_) return;
    const std::vector<char32_t> cps = DecodeUtf8(text);
    const FontMetrics& m = font_->metrics();
    int width = 0;
    for (char32_t cp : cps) width += font_->glyph(cp).advance;
    // The upright cell point (cx, cy) lands on (x + cy, y - 1 - cx).
    FillBox(x, y - width, m.lineHeight, width, bg);
    int pen = 0;
    for (char32_t cp : cps) {
        const Glyph& g = font_->glyph(cp);
        const int gx = pen + g.left, gy = m.ascender - g.top;
        for (int j = 0; j < g.height; ++j) {
            const std::uint8_t* cov = &g.coverage[static_cast<std::size_t>(j) * g.width];
            for (int i = 0; i < g.width; ++i) blendPixel(x + gy + j, y - 1 - (gx + i), fg, cov[i]);
        }
        pen += g.advance;
    }
}

}  // namespace fw
