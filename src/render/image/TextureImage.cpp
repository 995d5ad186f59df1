#include "render/image/TextureImage.h"

#include "resources/CADVException.h"

#include <algorithm>

namespace {

// TGA last: it has no signature and would claim files of other formats.
const ImageCodec* const kCodecs[] = {&kPngCodec, &kJpegCodec, &kDdsCodec, &kBmpCodec, &kTgaCodec};

struct Identified {
    const ImageCodec* codec;
    ImageHeader header;
};

Identified Identify(std::span<const std::uint8_t> file, const std::string& name) {
    for (const ImageCodec* codec : kCodecs) {
        if (codec->Matches(file)) {
            if (const auto header = codec->ReadHeader(file)) {
                return {codec, *header};
            }
            break;
        }
    }
    throw CADVException(D3DXERR_INVALIDDATA, "Could not get texture information from filename '%s'",
                        name.c_str());
}

[[noreturn]] void LoadFailed(const std::string& name) {
    throw CADVException(D3DXERR_INVALIDDATA, "Could not load texture with filename '%s'", name.c_str());
}

int ReducedSide(int side, int quality) {
    const int reduced = side / std::max(quality, 1);
    return reduced == 0 ? side : reduced;
}

} // namespace

TextureImageInfo GetTextureImageInfo(std::span<const std::uint8_t> file, const std::string& name) {
    const Identified id = Identify(file, name);
    return {id.header.width, id.header.height, id.codec->format};
}

std::vector<CImage> LoadTextureImage(std::span<const std::uint8_t> file, const std::string& name,
                                     int quality) {
    const Identified id = Identify(file, name);
    const ImageHeader h = id.header;
    if (h.width <= 0 || h.height <= 0 || h.width > kMaxTextureSide || h.height > kMaxTextureSide ||
        static_cast<std::int64_t>(h.width) * h.height > kMaxTexturePixels) {
        LoadFailed(name);
    }
    CImage decoded;
    if (!id.codec->Decode(file, decoded) || decoded.Width() != h.width || decoded.Height() != h.height) {
        LoadFailed(name);
    }
    const int width = ReducedSide(h.width, quality);
    const int height = ReducedSide(h.height, quality);
    std::vector<CImage> levels;
    levels.push_back(width == h.width && height == h.height ? std::move(decoded)
                                                            : decoded.Resized(width, height));
    while (levels.back().Width() > 1 || levels.back().Height() > 1) {
        const CImage& above = levels.back();
        levels.push_back(above.Resized(std::max(1, above.Width() / 2), std::max(1, above.Height() / 2)));
    }
    return levels;
}
