#include "render/CFontFace.h"

#include "resources/CADVException.h"
#include "script/TextConversion.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <strings.h>

namespace {

// Pixel heights are kept within what a text texture can hold at all.
constexpr int kMaxPixelHeight = 4096;
// What GDI gives for a font height of 0, roughly: a cell of 16 pixels.
constexpr int kDefaultCellHeight = 16;

struct FontFile {
    std::string path;
    int index = 0;
    std::string family;
};

// The file fontconfig offers for `family` in regular weight, when it really is
// that family and not a substitute.
bool FindFamily(FcConfig* config, const char* family, FontFile* out) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pattern) {
        return false;
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) {
        return false;
    }
    FcChar8* matchedFamily = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    const bool found = FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
                       strcasecmp(reinterpret_cast<const char*>(matchedFamily), family) == 0 &&
                       FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (found) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        *out = {reinterpret_cast<const char*>(file), index, family};
    }
    FcPatternDestroy(match);
    return found;
}

} // namespace

struct CFontFace::Library {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~Library() {
        if (face) {
            FT_Done_Face(face);
        }
        if (library) {
            FT_Done_FreeType(library);
        }
    }
};

CFontFace::CFontFace() : m_library(std::make_unique<Library>()) {
    // A configuration of our own, released after the search: the library's
    // shared default one keeps allocations it never frees.
    const std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> config(FcInitLoadConfigAndFonts(),
                                                                       &FcConfigDestroy);
    FontFile font;
    if (!config ||
        (!FindFamily(config.get(), "Verdana", &font) && !FindFamily(config.get(), "DejaVu Sans", &font))) {
        throw CADVException("CFontFace - Neither \"Verdana\" nor \"DejaVu Sans\" is installed.");
    }
    if (FT_Init_FreeType(&m_library->library) != 0 ||
        FT_New_Face(m_library->library, font.path.c_str(), font.index, &m_library->face) != 0) {
        throw CADVException("CFontFace - Could not open the font file '%s'.", font.path.c_str());
    }
    m_family = font.family;
}

CFontFace::~CFontFace() = default;

void CFontFace::SelectHeight(int fontHeight) {
    if (fontHeight == m_selectedHeight && m_selectedHeight != 0) {
        return;
    }
    FT_Face face = m_library->face;
    int pixels = 0;
    if (fontHeight < 0) {
        pixels = -static_cast<long long>(fontHeight) > kMaxPixelHeight ? kMaxPixelHeight : -fontHeight;
    } else {
        // A cell height: the em is the part of it that the face's ascent and
        // descent leave for it.
        const int cell = std::min(fontHeight == 0 ? kDefaultCellHeight : fontHeight, kMaxPixelHeight);
        const double extent = static_cast<double>(face->ascender) - static_cast<double>(face->descender);
        pixels = static_cast<int>(std::lround(cell * face->units_per_EM / (extent > 0 ? extent : 1.0)));
    }
    pixels = std::clamp(pixels, 1, kMaxPixelHeight);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
        throw CADVException("CFontFace - Could not set the font height %d.", fontHeight);
    }
    m_ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    m_descent = static_cast<int>(-(face->size->metrics.descender >> 6));
    m_selectedHeight = fontHeight;
}

std::u16string CFontFace::Shown(std::string_view line) const {
    std::u16string shown = AnsiToWide(line);
    std::erase_if(shown, [](char16_t c) { return c < 0x20 || c == 0x7F; });
    return shown;
}

CFontFace::Extent CFontFace::MeasureLine(std::string_view line, int fontHeight) {
    SelectHeight(fontHeight);
    FT_Face face = m_library->face;
    int width = 0;
    for (char16_t c : Shown(line)) {
        if (FT_Load_Char(face, c, FT_LOAD_TARGET_MONO) == 0) {
            width += static_cast<int>(face->glyph->advance.x >> 6);
        }
    }
    return {width, m_ascent + m_descent};
}

void CFontFace::DrawLine(std::string_view line, int fontHeight, int top, std::uint32_t pixel,
                         std::span<std::uint32_t> image, int width) {
    SelectHeight(fontHeight);
    FT_Face face = m_library->face;
    const long long height = width > 0 ? static_cast<long long>(image.size()) / width : 0;
    const int baseline = top + m_ascent;
    int pen = 0;
    for (char16_t c : Shown(line)) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
            continue;
        }
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                const long long y = static_cast<long long>(baseline) - glyph->bitmap_top + row;
                if (y < 0 || y >= height) {
                    continue;
                }
                const unsigned char* bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
                for (unsigned column = 0; column < bitmap.width; ++column) {
                    const long long x = static_cast<long long>(pen) + glyph->bitmap_left + column;
                    if (x >= 0 && x < width && (bits[column >> 3] & (0x80 >> (column & 7))) != 0) {
                        image[static_cast<std::size_t>(y * width + x)] = pixel;
                    }
                }
            }
        }
        pen += static_cast<int>(glyph->advance.x >> 6);
    }
}
