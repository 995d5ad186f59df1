#pragma once

#include "render/CFontFace.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class DDevice;
class DTexture;

// Sizes that come with a text texture: the text's own extent and the
// texture's (powers of two, the text in its top-left corner).
struct TextTextureSizes {
    int textWidth = 0;
    int textHeight = 0;
    int textureWidth = 0;
    int textureHeight = 0;
};

// The smallest texture side from 32 to 2048 that holds `extent` pixels; 4096
// for anything larger.
int TextTextureSide(int extent);

// Lines of a text: split at every line feed, the text after the last one being
// the last line (so "" is one empty line and "a\n" two lines).
std::vector<std::string_view> SplitTextLines(std::string_view text);

// Turns GUI text into textures: opaque text pixels on a fully transparent
// background.
class CTextRasterizer {
public:
    // The font is opened at the first text, so a renderer that never shows
    // any needs no font.
    CFontFace& Font();

    // Widths and heights of the lines of a text: an empty line is not
    // measured and takes the height of the line above it (0 when first).
    std::vector<CFontFace::Extent> MeasureLines(std::string_view text, int fontHeight);

    // Rasterises 8-bit text in `colour` (a GDI colour: red in the low byte,
    // only the low 24 bits count) at `fontHeight` into a one-level A8R8G8B8
    // texture whose rows run bottom-up. `texture` is used again when it has
    // exactly the size needed; otherwise it is replaced by a new texture, and
    // only once that one is complete, so a failure leaves it as it was.
    TextTextureSizes Texture_Create(DDevice& device, std::string_view text, std::uint32_t colour,
                                    int fontHeight, std::unique_ptr<DTexture>& texture);

private:
    std::unique_ptr<CFontFace> m_font;
};
