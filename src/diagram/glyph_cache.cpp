#include "diagram/glyph_cache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace fw {

namespace {

std::string FindFontFile(const char* family) {
    if (!FcInit()) return {};
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pattern) return {};
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char*>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

// The known install places of Liberation Sans come first, so fontconfig's substitutions
// (which differ between machines) cannot pick another face while it is installed.
std::string LocateDiagramFace() {
    for (const char* path : {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
                             "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"}) {
        if (FILE* f = std::fopen(path, "rb")) {
            std::fclose(f);
            return path;
        }
    }
    std::string file = FindFontFile("Liberation Sans");
    if (file.empty()) file = FindFontFile("sans-serif");
    return file;
}

class FreeTypeFont final : public SizedFont {
  public:
    FreeTypeFont(FT_Face face, int emPixels) : face_(face), emPixels_(emPixels) {
        select();
        metrics_.ascender = static_cast<int>((face_->size->metrics.ascender + 32) >> 6);
        metrics_.lineHeight = static_cast<int>((face_->size->metrics.height + 32) >> 6);
    }
    const FontMetrics& metrics() const override { return metrics_; }

    const Glyph& glyph(char32_t cp) override {
        if (cp < ascii_.size()) {
            if (!asciiLoaded_[cp]) {
                ascii_[cp] = load(cp);
                asciiLoaded_[cp] = true;
            }
            return ascii_[cp];
        }
        auto it = others_.find(cp);
        if (it == others_.end()) it = others_.emplace(cp, load(cp)).first;
        return it->second;
    }

  private:
    void select() { FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(emPixels_)); }

    Glyph load(char32_t cp) {
        // The face is shared by all sizes; select this size before loading.
        select();
        Glyph g;
        const FT_UInt index = FT_Get_Char_Index(face_, cp);
        if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_LIGHT) != 0) return g;
        if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) != 0) return g;
        const FT_GlyphSlot slot = face_->glyph;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = static_cast<int>(slot->bitmap.width);
        g.height = static_cast<int>(slot->bitmap.rows);
        g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
        for (int y = 0; y < g.height; ++y) {
            const unsigned char* src = slot->bitmap.buffer + y * slot->bitmap.pitch;
            std::copy(src, src + g.width,
                      g.coverage.begin() + static_cast<std::ptrdiff_t>(y) * g.width);
        }
        return g;
    }

    FT_Face face_;
    int emPixels_;
    FontMetrics metrics_;
    std::array<Glyph, 128> ascii_{};
    std::array<bool, 128> asciiLoaded_{};
    std::unordered_map<char32_t, Glyph> others_;
};

struct FontStore {
    std::mutex mutex;
    bool initialised = false;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::string file;
    std::map<int, std::unique_ptr<FreeTypeFont>> sizes;

    bool init() {
        if (initialised) return face != nullptr;
        initialised = true;
        file = LocateDiagramFace();
        if (file.empty() || FT_Init_FreeType(&library) != 0) return false;
        if (FT_New_Face(library, file.c_str(), 0, &face) != 0) face = nullptr;
        return face != nullptr;
    }
};

FontStore& Store() {
    static FontStore* store = new FontStore;  // lives for the whole process
    return *store;
}

}  // namespace

int SizedFont::textWidth(std::string_view utf8) {
    int w = 0;
    for (char32_t cp : DecodeUtf8(utf8)) w += glyph(cp).advance;
    return w;
}

SizedFont* DiagramFontAtPixels(int emPixels) {
    if (emPixels < 1) return nullptr;
    FontStore& s = Store();
    std::lock_guard lock(s.mutex);
    if (!s.init()) return nullptr;
    auto& slot = s.sizes[emPixels];
    if (!slot) slot = std::make_unique<FreeTypeFont>(s.face, emPixels);
    return slot.get();
}

std::string_view DiagramFontFile() {
    FontStore& s = Store();
    std::lock_guard lock(s.mutex);
    s.init();
    return s.file;
}

std::vector<char32_t> DecodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t extra = (c >= 0xF0 && c < 0xF5)   ? 3
                                  : (c >= 0xE0 && c < 0xF0) ? 2
                                  : (c >= 0xC2 && c < 0xE0) ? 1
                                                            : 0;
        if (extra == 0 || i + extra >= text.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        char32_t cp = c & (0x3F >> extra);
        bool valid = true;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!valid) {
            out.push_back(c);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

}  // namespace fw
