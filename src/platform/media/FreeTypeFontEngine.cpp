// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/FreeTypeFontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Text.h"

namespace tiltophon {

namespace {

// fontconfig keeps process-wide state from its first use until it is told to let go;
// it is held while any engine lives and released with the last one.
std::mutex g_fontconfig_mutex;
int g_fontconfig_users = 0;

}  // namespace

// The FreeType library and the lock that serialises every call into it. Fonts keep
// it alive, so a font outlives the engine that made it safely.
struct FreeTypeShared {
    FT_Library library = nullptr;
    bool fontconfig = false;
    std::mutex mutex;

    FreeTypeShared() {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
        std::lock_guard lock(g_fontconfig_mutex);
        fontconfig = g_fontconfig_users > 0 || FcInit();
        if (fontconfig) ++g_fontconfig_users;
    }
    ~FreeTypeShared() {
        if (library) FT_Done_FreeType(library);
        std::lock_guard lock(g_fontconfig_mutex);
        if (fontconfig && --g_fontconfig_users == 0) FcFini();
    }
};

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code points of UTF-16 text; a lone surrogate stands for U+FFFD.
template <typename Visit>
void for_each_code_point(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            visit(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            visit(kReplacement);
        } else {
            visit(static_cast<char32_t>(unit));
        }
    }
}

bool contains_ignoring_case(std::u16string_view text, std::u16string_view word) {
    if (word.size() > text.size()) return false;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        if (compare_ignoring_case(text.substr(i, word.size()), word) == 0) return true;
    }
    return false;
}

struct FaceFile {
    std::string path;
    int index = 0;
    bool embolden = false;
};

// The weight to ask fontconfig for. A face named for a light cut ("... Thin",
// "... Light") that is not installed is stood in for by the lighter cuts of the
// substitute, so the text keeps its intended airy look: a normal or medium request
// becomes extra-light and a semibold one regular.
int fontconfig_weight(const LogicalFont& description, bool family_installed) {
    int weight = description.weight > 0 ? description.weight : 400;
    const std::u16string_view face = description.face.view();
    if (!family_installed &&
        (contains_ignoring_case(face, u"thin") || contains_ignoring_case(face, u"light"))) {
        weight = weight >= 700 ? 700 : weight >= 600 ? 400 : 200;
    }
    return FcWeightFromOpenType(weight);
}

bool family_installed(const std::string& family) {
    if (family.empty()) return false;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(""));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    const bool found = fonts && fonts->nfont > 0;
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

std::optional<FaceFile> match_face(const LogicalFont& description) {
    std::string family = utf8_from_utf16(description.face.view());
    const bool installed = family_installed(family);
    if (family.empty()) family = "sans-serif";

    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, fontconfig_weight(description, installed));
    FcPatternAddInteger(pattern, FC_SLANT, description.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;

    std::optional<FaceFile> face;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        face.emplace();
        face->path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &face->index);
        FcBool embolden = FcFalse;
        if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) {
            face->embolden = embolden == FcTrue;
        }
    }
    FcPatternDestroy(match);
    return face;
}

struct Glyph {
    int32_t left = 0;  // from the pen position to the bitmap's left edge
    int32_t top = 0;   // from the baseline up to the bitmap's top edge
    int32_t width = 0;
    int32_t height = 0;
    FT_Pos advance = 0;  // 26.6 fixed point
    std::vector<uint8_t> coverage;
};

bool size_face(FT_Face face, int32_t height, int32_t& ascent, int32_t& descent);

class FreeTypeFont : public Font {
public:
    FreeTypeFont(std::shared_ptr<FreeTypeShared> shared, FT_Face face, FaceFile file,
                 bool underline, int32_t ascent, int32_t descent)
        : shared_(std::move(shared)),
          face_(face),
          file_(std::move(file)),
          embolden_(file_.embolden),
          underline_(underline),
          ascent_(ascent),
          descent_(descent) {}

    ~FreeTypeFont() override {
        std::lock_guard lock(shared_->mutex);
        FT_Done_Face(face_);
    }

    const Font* at_cell_height(int32_t height) const override {
        if (height <= 0 || height > 4096) return nullptr;
        if (height == ascent_ + descent_) return this;
        std::lock_guard lock(shared_->mutex);
        auto found = sizes_.find(height);
        if (found != sizes_.end()) return found->second.get();
        // A caption is fitted in a few sizes at most; a table grown past that is kept
        // as it is rather than grown further.
        if (sizes_.size() >= 32) return nullptr;
        FT_Face face = nullptr;
        if (FT_New_Face(shared_->library, file_.path.c_str(), file_.index, &face) != 0) return nullptr;
        int32_t ascent = 0;
        int32_t descent = 0;
        if (!size_face(face, height, ascent, descent)) {
            FT_Done_Face(face);
            return nullptr;
        }
        auto& made = sizes_[height];
        made = std::make_unique<FreeTypeFont>(shared_, face, file_, underline_, ascent, descent);
        return made.get();
    }

    int32_t ascent() const override { return ascent_; }
    int32_t descent() const override { return descent_; }

    int32_t text_width(std::u16string_view text) const override {
        std::lock_guard lock(shared_->mutex);
        FT_Pos pen = 0;
        for_each_code_point(text, [&](char32_t c) { pen += glyph(c).advance; });
        return static_cast<int32_t>((pen + 32) >> 6);
    }

    void draw(Bitmap& target, const Rect& clip_rect, int32_t x, int32_t baseline_y,
              std::u16string_view text, uint32_t pixel) const override {
        const Rect clip{std::max(clip_rect.left, 0), std::max(clip_rect.top, 0),
                        std::min(clip_rect.right, target.width()),
                        std::min(clip_rect.bottom, target.height())};
        if (clip.empty()) return;
        std::lock_guard lock(shared_->mutex);
        FT_Pos pen = static_cast<FT_Pos>(x) * 64;
        for_each_code_point(text, [&](char32_t c) {
            const Glyph& g = glyph(c);
            paint(target, clip, static_cast<int32_t>((pen + 32) >> 6) + g.left,
                  baseline_y - g.top, g, pixel);
            pen += g.advance;
        });
        if (underline_) {
            const int32_t end = static_cast<int32_t>((pen + 32) >> 6);
            const int32_t thickness = std::max(1, (ascent_ + descent_) / 16);
            const int32_t top = baseline_y + std::max(1, descent_ / 3);
            for (int32_t yy = std::max(top, clip.top); yy < std::min(top + thickness, clip.bottom);
                 ++yy) {
                for (int32_t xx = std::max(x, clip.left); xx < std::min(end, clip.right); ++xx) {
                    target.set_pixel(xx, yy, pixel);
                }
            }
        }
    }

private:
    // Covers the target with the text colour in proportion to the glyph's coverage.
    static void paint(Bitmap& target, const Rect& clip, int32_t left, int32_t top, const Glyph& g,
                      uint32_t pixel) {
        const int32_t x0 = std::max(left, clip.left);
        const int32_t x1 = std::min(left + g.width, clip.right);
        const int32_t y0 = std::max(top, clip.top);
        const int32_t y1 = std::min(top + g.height, clip.bottom);
        for (int32_t y = y0; y < y1; ++y) {
            const uint8_t* coverage = g.coverage.data() + static_cast<std::size_t>(y - top) * g.width;
            uint32_t* row = target.row(y);
            for (int32_t xx = x0; xx < x1; ++xx) {
                const uint32_t a = coverage[xx - left];
                if (a == 0) continue;
                const uint32_t d = row[xx];
                uint32_t out = 0xFF000000u;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const uint32_t mixed = ((pixel >> shift) & 0xFFu) * a + ((d >> shift) & 0xFFu) * (255 - a);
                    out |= ((mixed + 127) / 255) << shift;
                }
                row[xx] = out;
            }
        }
    }

    // The rendered glyph of a code point, made once. Called with the lock held.
    const Glyph& glyph(char32_t c) const {
        auto found = cache_.find(c);
        if (found != cache_.end()) return found->second;
        // The text of one run is small; a cache grown past any real use starts over.
        if (cache_.size() > 4096) cache_.clear();
        Glyph& g = cache_[c];
        FT_UInt index = FT_Get_Char_Index(face_, c);
        if (index == 0 && c != kReplacement) index = FT_Get_Char_Index(face_, kReplacement);
        if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0) return g;
        FT_GlyphSlot slot = face_->glyph;
        if (embolden_) FT_GlyphSlot_Embolden(slot);
        g.advance = slot->advance.x;
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return g;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = static_cast<int32_t>(bitmap.width);
        g.height = static_cast<int32_t>(bitmap.rows);
        g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
        for (int32_t y = 0; y < g.height; ++y) {
            const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            std::copy(source, source + g.width, g.coverage.begin() + static_cast<std::ptrdiff_t>(y) * g.width);
        }
        return g;
    }

    std::shared_ptr<FreeTypeShared> shared_;
    FT_Face face_;
    FaceFile file_;
    bool embolden_;
    bool underline_;
    int32_t ascent_;
    int32_t descent_;
    mutable std::unordered_map<char32_t, Glyph> cache_;
    mutable std::map<int32_t, std::unique_ptr<FreeTypeFont>> sizes_;
};

// Sizes the face so that its cell (the Windows ascent plus descent, or the face's own
// ascender and descender when it has no such table) is `height` pixels; a negative
// height gives the em size instead. Yields the rounded ascent and descent.
bool size_face(FT_Face face, int32_t height, int32_t& ascent, int32_t& descent) {
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return false;
    double cell_ascent = face->ascender;
    double cell_descent = -static_cast<double>(face->descender);
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        cell_ascent = os2->usWinAscent;
        cell_descent = os2->usWinDescent;
    }
    const double cell = cell_ascent + cell_descent;
    if (cell <= 0) return false;
    double em_pixels = 0;
    if (height > 0) {
        em_pixels = height * face->units_per_EM / cell;
        ascent = static_cast<int32_t>(std::lround(cell_ascent * height / cell));
        descent = height - ascent;
    } else {
        em_pixels = -height;
        ascent = static_cast<int32_t>(std::lround(cell_ascent * em_pixels / face->units_per_EM));
        descent = static_cast<int32_t>(std::lround(cell_descent * em_pixels / face->units_per_EM));
    }
    return FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em_pixels * 64)), 72,
                            72) == 0;
}

}  // namespace

FreeTypeFontEngine::FreeTypeFontEngine(int32_t default_cell_height)
    : shared_(std::make_shared<FreeTypeShared>()), default_cell_height_(default_cell_height) {}

FreeTypeFontEngine::~FreeTypeFontEngine() = default;

std::unique_ptr<Font> FreeTypeFontEngine::create_font(const LogicalFont& description) {
    if (!shared_->library || !shared_->fontconfig) return nullptr;
    int32_t height = description.height;
    if (height == 0) height = default_cell_height_;
    if (height == 0 || height > 4096 || height < -4096) return nullptr;

    std::lock_guard lock(shared_->mutex);
    const std::optional<FaceFile> file = match_face(description);
    if (!file) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(shared_->library, file->path.c_str(), file->index, &face) != 0) return nullptr;
    int32_t ascent = 0;
    int32_t descent = 0;
    if (!size_face(face, height, ascent, descent)) {
        FT_Done_Face(face);
        return nullptr;
    }
    return std::make_unique<FreeTypeFont>(shared_, face, *file, description.underline, ascent,
                                          descent);
}

const Font* FreeTypeFontEngine::default_font() {
    std::call_once(default_once_, [this] {
        LogicalFont plain;
        plain.height = default_cell_height_;
        plain.weight = 400;
        plain.face.assign(u"sans-serif");
        default_font_ = create_font(plain);
    });
    return default_font_.get();
}

}  // namespace tiltophon
