#include "diagram/raster_canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "libs/fw_math.h"
#include "diagram/text_image.h"

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

DiagramPicture::DiagramPicture(int w, int h, Rgb fill)
    : width(std::max(w, 0)), height(std::max(h, 0)) {
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

int EmPixelsForPoints(int sizePt) {
    return RoundPx(sizePt * 96.0 / 72.0);
}

RasterCanvas::RasterCanvas(int width, int height) : picture_(width, height) {
    ResetClip();
}

void RasterCanvas::SetClip(int x, int y, int w, int h) {
    clipLeft_ = std::clamp(x, 0, picture_.width);
    clipTop_ = std::clamp(y, 0, picture_.height);
    clipRight_ = std::clamp(x + std::max(w, 0), clipLeft_, picture_.width);
    clipBottom_ = std::clamp(y + std::max(h, 0), clipTop_, picture_.height);
}

void RasterCanvas::ResetClip() {
    clipLeft_ = clipTop_ = 0;
    clipRight_ = picture_.width;
    clipBottom_ = picture_.height;
}

bool RasterCanvas::inClip(int x, int y) const {
    return x >= clipLeft_ && y >= clipTop_ && x < clipRight_ && y < clipBottom_;
}

void RasterCanvas::ClearCanvas() {
    // A new canvas is already white; clearing it again would double the cost of a redraw.
    if (blank_) return;
    std::memset(picture_.rgb.data(), 0xFF, picture_.rgb.size());
    blank_ = true;
}

void RasterCanvas::SetFont(std::string_view /*family*/, int sizePt) {
    // Every family resolves to the one diagram face (see glyph_cache.h).
    fontPixels_ = EmPixelsForPoints(sizePt);
    font_ = DiagramFontAtPixels(fontPixels_);
}

void RasterCanvas::setPixel(int x, int y, Rgb c) {
    if (!inClip(x, y)) return;
    blank_ = false;
    std::uint8_t* p = &picture_.rgb[(static_cast<std::size_t>(y) * picture_.width + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void RasterCanvas::blendPixel(int x, int y, Rgb fg, int alpha) {
    if (alpha <= 0 || !inClip(x, y)) return;
    blank_ = false;
    std::uint8_t* p = &picture_.rgb[(static_cast<std::size_t>(y) * picture_.width + x) * 3];
    auto mix = [alpha](int under, int over) {
        return static_cast<std::uint8_t>((under * (255 - alpha) + over * alpha + 127) / 255);
    };
    p[0] = mix(p[0], fg.r);
    p[1] = mix(p[1], fg.g);
    p[2] = mix(p[2], fg.b);
}

void RasterCanvas::fillSpan(int x1, int x2, int y, Rgb c) {
    if (y < clipTop_ || y >= clipBottom_) return;
    x1 = std::max(x1, clipLeft_);
    x2 = std::min(x2, clipRight_);
    if (x1 >= x2) return;
    blank_ = false;
    std::uint8_t* p = &picture_.rgb[(static_cast<std::size_t>(y) * picture_.width + x1) * 3];
    const std::size_t bytes = static_cast<std::size_t>(x2 - x1) * 3;
    if (c.r == c.g && c.g == c.b) {
        std::memset(p, c.r, bytes);
        return;
    }
    if (bytes <= 8 * 3) {  // dot rows are short: a call to memcpy costs more than the loop
        for (std::size_t i = 0; i < bytes; i += 3) {
            p[i] = c.r;
            p[i + 1] = c.g;
            p[i + 2] = c.b;
        }
        return;
    }
    if (pattern_.empty() || patternColour_ != c) {
        pattern_.resize(static_cast<std::size_t>(picture_.width) * 3);
        for (std::size_t i = 0; i < pattern_.size(); i += 3) {
            pattern_[i] = c.r;
            pattern_[i + 1] = c.g;
            pattern_[i + 2] = c.b;
        }
        patternColour_ = c;
    }
    std::memcpy(p, pattern_.data(), bytes);
}

void RasterCanvas::DrawLine(int x1, int y1, int x2, int y2, Rgb colour) {
    if (y1 == y2) {  // horizontal: x1 drawn, x2 not
        if (x1 <= x2)
            fillSpan(x1, x2, y1, colour);
        else
            fillSpan(x2 + 1, x1 + 1, y1, colour);
        return;
    }
    if (x1 == x2) {  // vertical: y1 drawn, y2 not; one run of the batched vertical lines
        const LineSegment line{x1, y1, x2, y2};
        DrawLines({&line, 1}, colour);
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

void RasterCanvas::DrawLines(std::span<const LineSegment> lines, Rgb colour) {
    // Vertical lines over the same rows are drawn row by row: one line at a time would
    // touch a new memory page in every row of a large picture.
    const bool sameColumnRun =
        !lines.empty() && std::all_of(lines.begin(), lines.end(), [&](const LineSegment& l) {
            return l.x1 == l.x2 && l.y1 == lines[0].y1 && l.y2 == lines[0].y2 && l.y1 != l.y2;
        });
    if (!sameColumnRun) {
        DiagramCanvas::DrawLines(lines, colour);
        return;
    }
    const int y1 = lines[0].y1, y2 = lines[0].y2;
    const int top = std::max(y1 < y2 ? y1 : y2 + 1, clipTop_);
    const int end = std::min(y1 < y2 ? y2 : y1 + 1, clipBottom_);
    std::vector<std::size_t> offsets;  // byte offsets of the visible columns within a row
    for (const LineSegment& l : lines)
        if (l.x1 >= clipLeft_ && l.x1 < clipRight_)
            offsets.push_back(static_cast<std::size_t>(l.x1) * 3);
    if (top >= end || offsets.empty()) return;
    blank_ = false;
    const std::size_t stride = static_cast<std::size_t>(picture_.width) * 3;
    for (int y = top; y < end; ++y) {
        std::uint8_t* row = &picture_.rgb[static_cast<std::size_t>(y) * stride];
        for (const std::size_t o : offsets) {
            row[o] = colour.r;
            row[o + 1] = colour.g;
            row[o + 2] = colour.b;
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

void RasterCanvas::DrawDots(std::span<const DotCentre> centres, int r, Rgb colour) {
    if (r <= 0 || centres.empty() || picture_.empty()) return;
    const DiscStamp& stamp = StampForRadius(r);
    const int W = picture_.width, H = picture_.height;
    // Dots of one colour overlap heavily (1200 per curve): collect the union of their row
    // spans and paint each run once. A span that does not touch the open run of its row
    // closes that run; repainting a pixel in the same colour changes nothing.
    // An empty run is [INT32_MAX, INT32_MIN]: no span touches it and nothing is painted.
    runs_.resize(static_cast<std::size_t>(H) * 2);
    for (std::size_t i = 0; i < runs_.size(); i += 2) {
        runs_[i] = INT32_MAX;
        runs_[i + 1] = INT32_MIN;
    }
    int* const runs = runs_.data();
    const auto* const rows = stamp.rows.data();
    const int d = 2 * r;
    const DotCentre* previous = nullptr;
    for (const DotCentre& c : centres) {
        // Neighbouring grid points often land on the same pixel.
        if (previous && previous->x == c.x && previous->y == c.y) continue;
        previous = &c;
        const int x0 = c.x - r, y0 = c.y - r;
        if (x0 >= W || y0 >= H || c.x + r <= 0 || c.y + r <= 0) continue;
        const int jEnd = std::min(d, H - y0);
        for (int j = std::max(0, -y0); j < jEnd; ++j) {
            const int s = x0 + rows[j].first, t = x0 + rows[j].second;
            int& start = runs[2 * (y0 + j)];
            int& end = runs[2 * (y0 + j) + 1];
            if (s <= end && t >= start) {  // touches the open run: extend it
                start = std::min(start, s);
                end = std::max(end, t);
                continue;
            }
            if (start <= end) fillSpan(start, end, y0 + j, colour);
            start = s;
            end = t;
        }
    }
    for (int y = 0; y < H; ++y)
        if (runs[2 * y] <= runs[2 * y + 1]) fillSpan(runs[2 * y], runs[2 * y + 1], y, colour);
}

void RasterCanvas::blitText(const TextImage& img, int left, int top, Rgb fg, Rgb bg) {
    FillBox(left, top, img.width, img.height, bg);
    for (const TextImage::Run& run : img.runs) {
        const int y = top + run.row;
        if (y < clipTop_ || y >= clipBottom_) continue;
        int x = left + run.x, length = run.length;
        std::size_t offset = run.offset;
        if (x < clipLeft_) {
            length -= clipLeft_ - x;
            offset += static_cast<std::size_t>(clipLeft_ - x) * 3;
            x = clipLeft_;
        }
        length = std::min(length, clipRight_ - x);
        if (length <= 0) continue;
        blank_ = false;
        std::memcpy(&picture_.rgb[(static_cast<std::size_t>(y) * picture_.width + x) * 3],
                    &img.pixels[offset], static_cast<std::size_t>(length) * 3);
    }
    for (const TextImage::Ink& ink : img.outside)
        blendPixel(left + ink.dx, top + ink.dy, fg, ink.alpha);
}

void RasterCanvas::DrawText(int x, int y, std::string_view text, Rgb fg, Rgb bg) {
    if (!font_) return;
    blitText(*CachedTextImage(*font_, fontPixels_, text, fg, bg, false), x, y, fg, bg);
}

void RasterCanvas::DrawTextUp(int x, int y, std::string_view text, Rgb fg, Rgb bg) {
    if (!font_) return;
    // The upward cell spans x .. x + line height and y - text width .. y - 1.
    const auto img = CachedTextImage(*font_, fontPixels_, text, fg, bg, true);
    blitText(*img, x, y - img->height, fg, bg);
}

}  // namespace fw
