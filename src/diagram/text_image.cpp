#include "text_image.h"

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

TextImage Compose(SizedFont& font, std::string_view utf8, Rgb fg, Rgb bg) {
    const std::vector<char32_t> cps = DecodeUtf8(utf8);
    const FontMetrics& m = font.metrics();
    TextImage img;
    for (char32_t cp : cps) img.width += font.glyph(cp).advance;
    img.height = m.lineHeight;

    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(img.width) * img.height, 0);
    std::map<std::pair<int, int>, std::uint8_t> outside;  // (dy, dx) -> coverage
    int pen = 0;
    for (char32_t cp : cps) {
        const Glyph& g = font.glyph(cp);
        const int gx = pen + g.left, gy = m.ascender - g.top;
        for (int j = 0; j < g.height; ++j) {
            for (int i = 0; i < g.width; ++i) {
                const std::uint8_t cov = g.coverage[static_cast<std::size_t>(j) * g.width + i];
                if (cov == 0) continue;
                const int x = gx + i, y = gy + j;
                if (x >= 0 && y >= 0 && x < img.width && y < img.height) {
                    std::uint8_t& a = alpha[static_cast<std::size_t>(y) * img.width + x];
                    a = Combine(a, cov);
                } else {
                    std::uint8_t& a = outside[{y, x}];
                    a = Combine(a, cov);
                }
            }
        }
        pen += g.advance;
    }

    img.cellRgb.resize(alpha.size() * 3);
    for (std::size_t k = 0; k < alpha.size(); ++k) {
        img.cellRgb[k * 3] = Mix(bg.r, fg.r, alpha[k]);
        img.cellRgb[k * 3 + 1] = Mix(bg.g, fg.g, alpha[k]);
        img.cellRgb[k * 3 + 2] = Mix(bg.b, fg.b, alpha[k]);
    }
    for (const auto& [pos, a] : outside) img.outside.push_back({pos.second, pos.first, a});
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

std::string Key(int emPixels, std::string_view utf8, Rgb fg, Rgb bg) {
    std::string key;
    key.reserve(utf8.size() + 12);
    key.append(reinterpret_cast<const char*>(&emPixels), sizeof emPixels);
    for (std::uint8_t c : {fg.r, fg.g, fg.b, bg.r, bg.g, bg.b}) key.push_back(static_cast<char>(c));
    key.append(utf8);
    return key;
}

}  // namespace

std::shared_ptr<const TextImage> CachedTextImage(SizedFont& font, int emPixels,
                                                 std::string_view utf8, Rgb fg, Rgb bg) {
    TextCache& cache = Cache();
    std::string key = Key(emPixels, utf8, fg, bg);
    std::lock_guard lock(cache.mutex);
    if (auto it = cache.images.find(key); it != cache.images.end()) return it->second;

    auto image = std::make_shared<const TextImage>(Compose(font, utf8, fg, bg));
    const std::size_t size = image->cellRgb.size() + image->outside.size() * sizeof(TextImage::Ink);
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
