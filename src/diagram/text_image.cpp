#include "diagram/text_image.h"

#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

namespace fw {

namespace {

// Coverage `over` on top of coverage `under`, as two blends of the same colour would give.
std::uint8_t Combine(std::uint8_t under, std::uint8_t over) {
    return static_cast<std::uint8_t>(under + (over * (255 - under) + 127) / 255);
}

std::uint8_t Mix(std::uint8_t bg, std::uint8_t fg, int alpha) {
    return static_cast<std::uint8_t>((bg * (255 - alpha) + fg * alpha + 127) / 255);
}

// Coverage of the upright cell (width x height) and of the ink beyond it.
struct Coverage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> alpha;
    std::map<std::pair<int, int>, std::uint8_t> outside;  // (y, x) -> coverage
};

Coverage Rasterise(SizedFont& font, std::string_view utf8) {
    const std::vector<char32_t> cps = DecodeUtf8(utf8);
    const FontMetrics& m = font.metrics();
    Coverage c;
    for (char32_t cp : cps) c.width += font.glyph(cp).advance;
    c.height = m.lineHeight;
    c.alpha.assign(static_cast<std::size_t>(c.width) * c.height, 0);
    int pen = 0;
    for (char32_t cp : cps) {
        const Glyph& g = font.glyph(cp);
        const int gx = pen + g.left, gy = m.ascender - g.top;
        for (int j = 0; j < g.height; ++j) {
            for (int i = 0; i < g.width; ++i) {
                const std::uint8_t cov = g.coverage[static_cast<std::size_t>(j) * g.width + i];
                if (cov == 0) continue;
                const int x = gx + i, y = gy + j;
                std::uint8_t& a = (x >= 0 && y >= 0 && x < c.width && y < c.height)
                                      ? c.alpha[static_cast<std::size_t>(y) * c.width + x]
                                      : c.outside[{y, x}];
                a = Combine(a, cov);
            }
        }
        pen += g.advance;
    }
    return c;
}

TextImage Compose(SizedFont& font, std::string_view utf8, Rgb fg, Rgb bg, bool upward) {
    const Coverage c = Rasterise(font, utf8);
    TextImage img;
    // The upright cell point (cx, cy) lands on (cy, width - 1 - cx) of the upward cell.
    img.width = upward ? c.height : c.width;
    img.height = upward ? c.width : c.height;
    auto alphaAt = [&](int x, int y) {
        const int cx = upward ? c.width - 1 - y : x, cy = upward ? x : y;
        return c.alpha[static_cast<std::size_t>(cy) * c.width + cx];
    };
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width;) {
            if (alphaAt(x, y) == 0) {
                ++x;
                continue;
            }
            TextImage::Run run{y, x, 0, img.pixels.size()};
            for (; x < img.width && alphaAt(x, y) != 0; ++x, ++run.length) {
                const int a = alphaAt(x, y);
                img.pixels.push_back(Mix(bg.r, fg.r, a));
                img.pixels.push_back(Mix(bg.g, fg.g, a));
                img.pixels.push_back(Mix(bg.b, fg.b, a));
            }
            img.runs.push_back(run);
        }
    }
    for (const auto& [pos, a] : c.outside) {
        const auto [cy, cx] = pos;
        img.outside.push_back(upward ? TextImage::Ink{cy, c.width - 1 - cx, a}
                                     : TextImage::Ink{cx, cy, a});
    }
    return img;
}

struct TextCache {
    static constexpr std::size_t MaxBytes = 64u << 20;
    std::mutex mutex;
    std::unordered_map<std::string, std::shared_ptr<const TextImage>> images;
    std::size_t bytes = 0;
};

TextCache& Cache() {
    static TextCache* cache = new TextCache;  // lives for the whole process
    return *cache;
}

std::string Key(int emPixels, std::string_view utf8, Rgb fg, Rgb bg, bool upward) {
    std::string key;
    key.reserve(utf8.size() + 12);
    key.append(reinterpret_cast<const char*>(&emPixels), sizeof emPixels);
    key.push_back(upward ? 'U' : 'R');
    for (std::uint8_t c : {fg.r, fg.g, fg.b, bg.r, bg.g, bg.b}) key.push_back(static_cast<char>(c));
    key.append(utf8);
    return key;
}

}  // namespace

std::shared_ptr<const TextImage> CachedTextImage(SizedFont& font, int emPixels,
                                                 std::string_view utf8, Rgb fg, Rgb bg,
                                                 bool upward) {
    TextCache& cache = Cache();
    std::string key = Key(emPixels, utf8, fg, bg, upward);
    std::lock_guard lock(cache.mutex);
    if (auto it = cache.images.find(key); it != cache.images.end()) return it->second;

    auto image = std::make_shared<const TextImage>(Compose(font, utf8, fg, bg, upward));
    const std::size_t size = image->pixels.size() + image->runs.size() * sizeof(TextImage::Run) +
                             image->outside.size() * sizeof(TextImage::Ink);
    // Many window sizes leave many font sizes behind: start afresh when the cache is full.
    if (cache.bytes + size > TextCache::MaxBytes) {
        cache.images.clear();
        cache.bytes = 0;
    }
    cache.bytes += size;
    cache.images.emplace(std::move(key), image);
    return image;
}

}  // namespace fw
