#include "render/CTextRasterizer.h"

#include "render/device/DDevice.h"
#include "resources/CADVException.h"

#include <algorithm>

namespace {

// Background of the text bitmap; as a GDI colour red 0xFD, green 0x7E, blue
// 0xFE, a colour no game text uses.
constexpr std::uint32_t kKeyColour = 0xFE7EFD;

constexpr int kSmallestSide = 32;
constexpr int kLargestFittedSide = 2048;
constexpr int kOversizeSide = 4096;

// A GDI colour (0x00BBGGRR) as a pixel of a 32-bit bitmap (0x00RRGGBB).
std::uint32_t BitmapPixel(std::uint32_t gdiColour) {
    return (gdiColour & 0xFF) << 16 | (gdiColour & 0xFF00) | (gdiColour >> 16 & 0xFF);
}

} // namespace

int TextTextureSide(int extent) {
    for (int side = kSmallestSide; side <= kLargestFittedSide; side *= 2) {
        if (side >= extent) {
            return side;
        }
    }
    return kOversizeSide;
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t feed = text.find('\n'); feed != std::string_view::npos; feed = text.find('\n', start)) {
        lines.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

CFontFace& CTextRasterizer::Font() {
    if (!m_font) {
        m_font = std::make_unique<CFontFace>();
    }
    return *m_font;
}

std::vector<CFontFace::Extent> CTextRasterizer::MeasureLines(std::string_view text, int fontHeight) {
    std::vector<CFontFace::Extent> extents;
    int height = 0;
    for (std::string_view line : SplitTextLines(text)) {
        if (line.empty()) {
            extents.push_back({0, height});
            continue;
        }
        extents.push_back(Font().MeasureLine(line, fontHeight));
        height = extents.back().height;
    }
    return extents;
}

TextTextureSizes CTextRasterizer::Texture_Create(DDevice& device, std::string_view text, std::uint32_t colour,
                                                 int fontHeight, std::unique_ptr<DTexture>& texture) {
    const std::vector<std::string_view> lines = SplitTextLines(text);
    const std::vector<CFontFace::Extent> extents = MeasureLines(text, fontHeight);
    TextTextureSizes sizes;
    for (const CFontFace::Extent& extent : extents) {
        sizes.textWidth = std::max(sizes.textWidth, extent.width);
        sizes.textHeight += extent.height;
    }
    sizes.textureWidth = TextTextureSide(sizes.textWidth);
    sizes.textureHeight = TextTextureSide(sizes.textHeight);

    std::unique_ptr<DTexture> created;
    DTexture* target = texture.get();
    if (!target || target->Format() != DTextureFormat::A8R8G8B8 || target->Width(0) != sizes.textureWidth ||
        target->Height(0) != sizes.textureHeight) {
        HRESULT hr = S_OK;
        created =
            device.CreateTexture(sizes.textureWidth, sizes.textureHeight, 1, DTextureFormat::A8R8G8B8, &hr);
        if (FAILED(hr) || !created) {
            throw CADVException(hr, "C3DEngine2::Texture_Create() - Could not create texture.");
        }
        target = created.get();
    }

    const int width = sizes.textureWidth;
    const int height = sizes.textureHeight;
    std::vector<std::uint32_t> bitmap(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                      BitmapPixel(kKeyColour));
    const std::uint32_t textPixel = BitmapPixel(colour & 0xFFFFFF);
    int top = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Font().DrawLine(lines[i], fontHeight, top, textPixel, bitmap, width);
        top += extents[i].height;
    }

    std::uint8_t* bits = nullptr;
    int pitch = 0;
    if (const HRESULT hr = target->LockRect(0, &bits, &pitch); FAILED(hr)) {
        throw CADVException(hr, "C3DEngine2::Texture_Create() - Could not lock texture.");
    }
    // Rows bottom-up, as the GUI's texture coordinates expect. The key is the
    // known background colour rather than whatever the first pixel holds: a
    // glyph reaching the bottom-left corner would otherwise turn the text
    // transparent and the background opaque.
    const std::uint32_t key = BitmapPixel(kKeyColour);
    for (int row = 0; row < height; ++row) {
        const std::uint32_t* source = bitmap.data() + static_cast<std::size_t>(height - 1 - row) * width;
        std::uint8_t* dest = bits + static_cast<std::size_t>(row) * static_cast<std::size_t>(pitch);
        for (int x = 0; x < width; ++x, dest += 4) {
            const std::uint32_t texel = source[x] == key ? 0 : source[x] | 0xFF000000u;
            dest[0] = static_cast<std::uint8_t>(texel);
            dest[1] = static_cast<std::uint8_t>(texel >> 8);
            dest[2] = static_cast<std::uint8_t>(texel >> 16);
            dest[3] = static_cast<std::uint8_t>(texel >> 24);
        }
    }
    if (const HRESULT hr = target->UnlockRect(0); FAILED(hr)) {
        throw CADVException(hr, "C3DEngine2::Texture_Create() - Could not lock texture.");
    }
    if (created) {
        texture = std::move(created);
    }
    return sizes;
}
